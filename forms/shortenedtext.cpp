#include "shortenedtext.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QRegularExpression>
#include <QScreen>
#include <QStringView>
#include <QTextBoundaryFinder>
#include <QToolTip>
#include <QWidget>

namespace ShortenedText {

namespace {

// What a tool tip's frame and margins take of the screen's width.
constexpr int TipFrame = 24;

// Where each character of the text, as a reader counts them, begins; and where the last ends.
QList<qsizetype> characterBounds(const QString& text)
{
    QList<qsizetype> bounds{0};
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    while (finder.toNextBoundary() > 0)
        bounds.append(finder.position());
    return bounds;
}

// A blank a line may end after: any space but the ones that join what stands beside them.
bool isBlank(QStringView character)
{
    for (const QChar c : character) {
        const bool joins = c == QChar::Nbsp || c == QChar(0x2007) || c == QChar(0x202F);
        if (!(c == QLatin1Char('\t') || c.category() == QChar::Separator_Space) || joins)
            return false;
    }
    return !character.isEmpty();
}

// Breaks one line of the text's own into lines a tip can show, after the last blank of each
// where it has one: a reader's eye finds a word whole more easily than a cut one.
void breakLine(const QString& line, const QFontMetrics& metrics, int widest, QStringList* lines)
{
    const QList<qsizetype> bounds = characterBounds(line);
    const int count = int(bounds.size()) - 1;
    const auto part = [&](int from, int to) { return line.mid(bounds[from], bounds[to] - bounds[from]); };
    const auto character = [&](int i) { return QStringView(line).mid(bounds[i], bounds[i + 1] - bounds[i]); };
    int first = 0;
    do {
        int end = qMin(first + TipLineLength, count);
        // As many whole characters as the room holds, one at the least.
        if (end > first + 1 && metrics.horizontalAdvance(part(first, end)) > widest) {
            int fits = first + 1;
            while (fits + 1 < end) {
                const int middle = (fits + end) / 2;
                if (metrics.horizontalAdvance(part(first, middle)) <= widest)
                    fits = middle;
                else
                    end = middle;
            }
            end = fits;
        }
        if (end < count) {
            for (int i = end; i > first + 1; --i) {
                if (isBlank(character(i - 1))) {
                    end = i;
                    break;
                }
            }
        }
        lines->append(part(first, end));
        first = end;
    } while (first < count);
}

// Every way a text may break its own lines; each of them breaks the tip's line too.
const QRegularExpression& lineBreaks()
{
    static const QRegularExpression breaks(QStringLiteral("\\r\\n|[\\r\\n\\x{2028}\\x{2029}]"));
    return breaks;
}

// The lines as a tool tip shows them as they stand: a tip takes markup, so every line is
// given as markup that holds the line as text; "pre" keeps every blank and breaks no line
// but those given. The two characters that stand for a frame's edges in the tip's document
// would be taken for edges and lost; the replacement character says something stood there.
QString literalTip(const QStringList& lines)
{
    QStringList escaped;
    escaped.reserve(lines.size());
    for (QString line : lines) {
        line.replace(QChar(0xFDD0), QChar::ReplacementCharacter).replace(QChar(0xFDD1), QChar::ReplacementCharacter);
        escaped.append(line.toHtmlEscaped());
    }
    return QStringLiteral("<p style=\"white-space:pre\">") + escaped.join(QLatin1String("<br>"))
           + QStringLiteral("</p>");
}

// The tip telling `text` whole over `widget`: in the tool tips' font, in lines the widget's
// screen holds.
QString wholeTextTip(const QString& text, const QWidget* widget)
{
    const QScreen* screen = widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    const int widest = screen ? screen->availableGeometry().width() - TipFrame : QWIDGETSIZE_MAX;
    return literalTip(tipLines(text, QFontMetrics(QToolTip::font()), widest));
}

} // namespace

int widestText(const QFontMetrics& metrics, int characters)
{
    return metrics.averageCharWidth() * characters;
}

QStringList tipLines(const QString& text, const QFontMetrics& metrics, int widest)
{
    QStringList lines;
    for (const QString& line : text.split(lineBreaks()))
        breakLine(line, metrics, widest, &lines);
    return lines;
}

void showWholeText(const QPoint& globalPos, const QString& text, QWidget* widget, const QRect& area)
{
    QToolTip::showText(globalPos, wholeTextTip(text, widget), widget, area);
}

bool tellWholeText(const QHelpEvent* event, QWidget* widget, const QFontMetrics& metrics,
                   const QString& text, int room)
{
    if (metrics.horizontalAdvance(text) <= room)
        return false;
    showWholeText(event->globalPos(), text, widget);
    return true;
}

} // namespace ShortenedText
