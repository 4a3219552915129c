#include "tiplinebreaker.h"

#include "shortenedtext.h"

#include <QStringView>

#include <climits>

namespace {

// While the characters of a line are gathered, how many at a time before what they add is
// measured: a line far wider than its room need not be gathered whole.
constexpr int GatheredAtOnce = 64;

} // namespace

// A character narrower than a pixel (a joiner, a mark of direction) adds nothing a line's
// room would notice, so a line holds no more characters than its room has pixels: a text of
// such characters would otherwise make a single line of itself.
TipLineBreaker::TipLineBreaker(const QString& text, const QFontMetrics& metrics, int widest, int lineLength)
    : m_text(text), m_metrics(metrics), m_widest(widest), m_lineLength(qBound(1, lineLength, qMax(1, widest)))
{
    startOwnLine(0);
}

void TipLineBreaker::startOwnLine(qsizetype start)
{
    m_lineStart = start;
    m_lineEnd = start;
    qsizetype breakLength = 0;
    while (m_lineEnd < m_text.size() && (breakLength = ShortenedText::lineBreakAt(m_text, m_lineEnd)) == 0)
        ++m_lineEnd;
    m_nextLineStart = m_lineEnd < m_text.size() ? m_lineEnd + breakLength : -1;
    m_at = 0;
    m_characters = QTextBoundaryFinder(QTextBoundaryFinder::Grapheme, m_text.constData() + m_lineStart, ownLength());
}

int TipLineBreaker::advance(qsizetype from, qsizetype to) const
{
    return m_metrics.horizontalAdvance(part(from, to));
}

// A blank a line may end after: any space but the ones that join what stands beside them.
bool TipLineBreaker::isBlankAt(qsizetype from, qsizetype to) const
{
    const QStringView character = QStringView(m_text).mid(m_lineStart + from, to - from);
    for (const QChar c : character) {
        const bool joins = c == QChar::Nbsp || c == QChar(0x2007) || c == QChar(0x202F);
        if (!(c == QLatin1Char('\t') || c.category() == QChar::Separator_Space) || joins)
            return false;
    }
    return !character.isEmpty();
}

QList<qsizetype> TipLineBreaker::charactersToCome()
{
    QList<qsizetype> bounds{m_at};
    m_characters.setPosition(m_at);
    qint64 gathered = 0;
    while (bounds.size() <= m_lineLength && bounds.last() < ownLength()) {
        bounds.append(m_characters.toNextBoundary());
        const int count = int(bounds.size()) - 1;
        if (count % GatheredAtOnce == 0) {
            gathered += advance(bounds[count - GatheredAtOnce], bounds[count]);
            if (gathered > m_widest)
                break;
        }
    }
    return bounds;
}

int TipLineBreaker::fittingCharacters(const QList<qsizetype>& bounds) const
{
    int end = int(bounds.size()) - 1;
    if (end <= 1 || advance(bounds[0], bounds[end]) <= m_widest)
        return end;
    int fits = 1;
    while (fits + 1 < end) {
        const int middle = (fits + end) / 2;
        if (advance(bounds[0], bounds[middle]) <= m_widest)
            fits = middle;
        else
            end = middle;
    }
    return fits;
}

// A reader's eye finds a word whole more easily than a cut one.
int TipLineBreaker::keptForTheLastBlank(const QList<qsizetype>& bounds, int fitting) const
{
    if (bounds[fitting] >= ownLength())
        return fitting;
    for (int i = fitting; i > 1; --i) {
        if (isBlankAt(bounds[i - 1], bounds[i]))
            return i;
    }
    return fitting;
}

QString TipLineBreaker::next()
{
    if (m_atEnd)
        return {};
    const QList<qsizetype> bounds = charactersToCome();
    const int kept = keptForTheLastBlank(bounds, fittingCharacters(bounds));
    const QString line = part(bounds[0], bounds[kept]);
    m_at = bounds[kept];
    if (m_at >= ownLength()) {
        if (m_nextLineStart < 0)
            m_atEnd = true;
        else
            startOwnLine(m_nextLineStart);
    }
    return line;
}
