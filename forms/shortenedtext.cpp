#include "shortenedtext.h"

#include "tiplinebreaker.h"

#include <QFontMetrics>

namespace ShortenedText {

int widestText(const QFontMetrics& metrics, int characters)
{
    return metrics.averageCharWidth() * characters;
}

QString oneLine(const QString& text)
{
    QString line;
    line.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case '\r':
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            Q_FALLTHROUGH();
        case '\n':
        case '\t':
        case QChar::LineSeparator:
        case QChar::ParagraphSeparator:
            line += QLatin1Char(' ');
            break;
        case 0x9c:
            line += QChar(QChar::ReplacementCharacter);
            break;
        default:
            line += c;
        }
    }
    return line;
}

QString shortenedLine(const QFontMetrics& metrics, const QString& line, int room)
{
    return metrics.elidedText(line, Qt::ElideRight, room);
}

QStringList tipLines(const QString& text, const QFontMetrics& metrics, int widest, int lineLength)
{
    QStringList lines;
    TipLineBreaker breaker(text, metrics, widest, lineLength);
    do
        lines.append(breaker.next());
    while (!breaker.atEnd());
    return lines;
}

} // namespace ShortenedText
