#include "shortenedtext.h"

#include <QFontMetrics>

namespace ShortenedText {

int widestText(const QFontMetrics& metrics, int characters)
{
    return metrics.averageCharWidth() * characters;
}

qsizetype lineBreakAt(const QString& text, qsizetype at)
{
    switch (text.at(at).unicode()) {
    case '\r':
        return at + 1 < text.size() && text.at(at + 1) == QLatin1Char('\n') ? 2 : 1;
    case '\n':
    case QChar::LineSeparator:
    case QChar::ParagraphSeparator:
        return 1;
    default:
        return 0;
    }
}

QString oneLine(const QString& text)
{
    QString line;
    line.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (const qsizetype lineBreak = lineBreakAt(text, i)) {
            line += QLatin1Char(' ');
            i += lineBreak - 1;
        } else if (text.at(i) == QLatin1Char('\t')) {
            line += QLatin1Char(' ');
        } else if (text.at(i) == QChar(0x9c)) {
            line += QChar(QChar::ReplacementCharacter);
        } else {
            line += text.at(i);
        }
    }
    return line;
}

QString shortenedLine(const QFontMetrics& metrics, const QString& line, int room)
{
    return metrics.elidedText(line, Qt::ElideRight, room);
}

} // namespace ShortenedText
