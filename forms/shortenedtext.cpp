#include "shortenedtext.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHelpEvent>
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

// The lines one line of the text's own is broken into.
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

} // namespace

int widestText(const QFontMetrics& metrics, int characters)
{
    return metrics.averageCharWidth() * characters;
}

QStringList tipLines(const QString& text, const QFontMetrics& metrics, int widest)
{
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n')))
        breakLine(line, metrics, widest, &lines);
    return lines;
}

QString literalTip(const QStringList& lines)
{
    QStringList escaped;
    escaped.reserve(lines.size());
    for (const QString& line : lines)
        escaped.append(line.toHtmlEscaped());
    // Markup, so that no text is ever taken for markup; "pre" keeps every blank as it is and
    // breaks no line but those given.
    return QStringLiteral("<p style=\"white-space:pre\">") + escaped.join(QLatin1String("<br>"))
           + QStringLiteral("</p>");
}

QString wholeTextTip(const QString& text, const QWidget* widget)
{
    const QScreen* screen = widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    const int widest = screen ? screen->availableGeometry().width() - TipFrame : QWIDGETSIZE_MAX;
    return literalTip(tipLines(text, QFontMetrics(QToolTip::font()), widest));
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
