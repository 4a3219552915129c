#include "shortenedtext.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QStringList>
#include <QToolTip>

namespace ShortenedText {

namespace {

// A tool tip's lines are at most this many characters long.
constexpr int TipLineLength = 80;

} // namespace

int widestText(const QFontMetrics& metrics, int characters)
{
    return metrics.averageCharWidth() * characters;
}

QString wholeTextTip(const QString& text)
{
    QStringList lines;
    QString rest = text;
    while (rest.size() > TipLineLength) {
        const qsizetype blank = rest.lastIndexOf(QLatin1Char(' '), TipLineLength - 1);
        const qsizetype cut = blank > 0 ? blank + 1 : TipLineLength;
        lines.append(rest.left(cut));
        rest = rest.mid(cut);
    }
    lines.append(rest);
    return lines.join(QLatin1Char('\n'));
}

bool tellWholeText(const QHelpEvent* event, QWidget* widget, const QFontMetrics& metrics,
                   const QString& text, int room)
{
    if (metrics.horizontalAdvance(text) <= room)
        return false;
    QToolTip::showText(event->globalPos(), wholeTextTip(text), widget);
    return true;
}

} // namespace ShortenedText
