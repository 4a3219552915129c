#include "lineedges.h"

#include "charwidths.h"

#include <algorithm>

LineEdges::LineEdges(const QString& text, const CharWidths& widths)
    : m_text(text)
    , m_widths(&widths)
{
    const qsizetype length = m_text.size();
    const QChar* chars = m_text.constData();
    m_steps.reserve(std::size_t(length / StepChars) + 1);
    qreal sum = 0;
    qsizetype at = 0;
    m_steps.push_back(sum);
    while (at < length) {
        const qsizetype stepEnd = std::min<qsizetype>(at + StepChars, length);
        for (; at < stepEnd; ++at)
            sum += widths.advance(chars[at]);
        if (at % StepChars == 0)
            m_steps.push_back(sum);
    }
    m_width = rounded(sum);
}

int LineEdges::rounded(qreal sum)
{
    return sum >= MaxEdge ? MaxEdge : qRound(sum);
}

// Added up in the order the constructor added them, so that an edge comes out the same
// however it is reached.
qreal LineEdges::sumBefore(int column) const
{
    const std::size_t step = std::size_t(column / StepChars);
    qreal sum = m_steps[step];
    const QChar* chars = m_text.constData();
    for (qsizetype at = qsizetype(step) * StepChars; at < column; ++at)
        sum += m_widths->advance(chars[at]);
    return sum;
}

int LineEdges::edge(int column) const
{
    column = int(std::clamp<qsizetype>(column, 0, m_text.size()));
    return column == m_text.size() ? m_width : rounded(sumBefore(column));
}

int LineEdges::columnAt(int x) const
{
    // The last kept sum whose edge does not lie right of x; the edges grow from left to
    // right, so the character sought lies in the step that follows it.
    const auto after = std::upper_bound(m_steps.begin(), m_steps.end(), x,
                                        [](int value, qreal sum) { return value < rounded(sum); });
    if (after == m_steps.begin())
        return 0;
    const std::size_t step = std::size_t(after - m_steps.begin()) - 1;
    qreal sum = m_steps[step];
    const QChar* chars = m_text.constData();
    const qsizetype length = m_text.size();
    for (qsizetype at = qsizetype(step) * StepChars; at < length; ++at) {
        sum += m_widths->advance(chars[at]);
        if (rounded(sum) > x)
            return int(at);
    }
    return int(length);
}
