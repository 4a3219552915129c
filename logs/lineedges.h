#pragma once

#include <QString>

#include <vector>

class CharWidths;

// Where the characters of one line begin and end, in pixels from the line's start: the
// running sum of their advances (CharWidths), each edge rounded to a whole pixel. The sum is
// kept at every StepChars-th character, so a line of megabytes is walked once, when it is
// measured, and any edge afterwards costs a walk of at most StepChars characters.
//
// The text is shared, not copied: it keeps the line's characters alive while the edges are,
// and its data's address tells the line. The widths must outlive the edges.
class LineEdges
{
public:
    static constexpr int StepChars = 256;
    // No edge lies further right: positions are ints, and past this a line's text is not
    // reached by scrolling (a line of some hundred million characters).
    static constexpr int MaxEdge = 1 << 29;

    LineEdges(const QString& text, const CharWidths& widths);

    const QString& text() const { return m_text; }
    // Pixels from the line's start to the start of character column (0 .. length).
    int edge(int column) const;
    int width() const { return m_width; }
    // The first character whose right edge lies right of x; the length when none does.
    int columnAt(int x) const;

private:
    qreal sumBefore(int column) const;
    static int rounded(qreal sum);

    QString m_text;
    const CharWidths* m_widths;
    // m_steps[k]: the advances of the first k * StepChars characters.
    std::vector<qreal> m_steps;
    int m_width = 0;
};
