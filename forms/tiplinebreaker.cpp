#include "tiplinebreaker.h"

#include <QList>
#include <QRegularExpression>
#include <QStringView>

namespace {

// Every way a text may break its own lines; each of them breaks the tip's line too.
const QRegularExpression& lineBreaks()
{
    static const QRegularExpression breaks(QStringLiteral("\\r\\n|[\\r\\n\\x{2028}\\x{2029}]"));
    return breaks;
}

// While the characters of a line are gathered, how many at a time before the line is
// measured: a line far wider than its room need not be gathered whole.
constexpr int GatheredAtOnce = 64;

} // namespace

TipLineBreaker::TipLineBreaker(const QString& text, const QFontMetrics& metrics, int widest, int lineLength)
    : m_text(text), m_metrics(metrics), m_widest(widest), m_lineLength(qMax(1, lineLength))
{
    startOwnLine(0);
}

void TipLineBreaker::startOwnLine(qsizetype start)
{
    m_lineStart = start;
    const QRegularExpressionMatch found = lineBreaks().match(m_text, start);
    m_lineEnd = found.hasMatch() ? found.capturedStart() : m_text.size();
    m_nextLineStart = found.hasMatch() ? found.capturedEnd() : -1;
    m_at = 0;
    m_characters = QTextBoundaryFinder(QTextBoundaryFinder::Grapheme, m_text.constData() + m_lineStart,
                                       m_lineEnd - m_lineStart);
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

QString TipLineBreaker::next()
{
    if (m_atEnd)
        return {};
    const qsizetype ownLength = m_lineEnd - m_lineStart;

    // Where each character the line may hold begins, and where the last ends; no more of
    // them than the room holds, give or take those gathered at once.
    QList<qsizetype> bounds{m_at};
    m_characters.setPosition(m_at);
    while (bounds.size() <= m_lineLength && bounds.last() < ownLength) {
        bounds.append(m_characters.toNextBoundary());
        if ((bounds.size() - 1) % GatheredAtOnce == 0 && advance(m_at, bounds.last()) > m_widest)
            break;
    }
    const int count = int(bounds.size()) - 1;
    int end = count;
    // As many whole characters as the room holds, one at the least.
    if (end > 1 && advance(bounds[0], bounds[end]) > m_widest) {
        int fits = 1;
        while (fits + 1 < end) {
            const int middle = (fits + end) / 2;
            if (advance(bounds[0], bounds[middle]) <= m_widest)
                fits = middle;
            else
                end = middle;
        }
        end = fits;
    }
    // A reader's eye finds a word whole more easily than a cut one.
    if (bounds[end] < ownLength) {
        for (int i = end; i > 1; --i) {
            if (isBlankAt(bounds[i - 1], bounds[i])) {
                end = i;
                break;
            }
        }
    }

    const QString line = part(bounds[0], bounds[end]);
    m_at = bounds[end];
    if (m_at >= ownLength) {
        if (m_nextLineStart < 0)
            m_atEnd = true;
        else
            startOwnLine(m_nextLineStart);
    }
    return line;
}
