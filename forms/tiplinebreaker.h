#pragma once

#include <QFontMetrics>
#include <QList>
#include <QString>
#include <QTextBoundaryFinder>

// Breaks a text into the lines a tool tip tells it in, one line at a time: a tip with room
// for some lines breaks no more of a long text than it shows.
//
// A line holds at most `lineLength` characters as a reader counts them (grapheme clusters:
// an emoji sequence, a letter with its accents), and no more of them than its room has
// pixels; it is at most `widest` pixels wide in `metrics`, unless a single character is
// wider. It ends after the last blank it holds, but for one it begins with, or else after
// its last whole character; a line break of the text's own (ShortenedText::lineBreakAt)
// ends a line too and is dropped. The lines together hold every other character of the
// text, in its order.
class TipLineBreaker
{
public:
    TipLineBreaker(const QString& text, const QFontMetrics& metrics, int widest, int lineLength);

    bool atEnd() const { return m_atEnd; }
    // The next line; an empty one once atEnd().
    QString next();

private:
    // Moves on to the line of the text's own that begins at `start`.
    void startOwnLine(qsizetype start);
    qsizetype ownLength() const { return m_lineEnd - m_lineStart; }
    // Where the characters the next line may hold begin, and where the last of them ends.
    QList<qsizetype> charactersToCome();
    // Of `bounds`, how many characters fit the line's room, one at the least.
    int fittingCharacters(const QList<qsizetype>& bounds) const;
    // How many of the `fitting` characters the line keeps, to end after a blank.
    int keptForTheLastBlank(const QList<qsizetype>& bounds, int fitting) const;
    QString part(qsizetype from, qsizetype to) const { return m_text.mid(m_lineStart + from, to - from); }
    int advance(qsizetype from, qsizetype to) const;
    bool isBlankAt(qsizetype from, qsizetype to) const;

    const QString m_text;
    const QFontMetrics m_metrics;
    const int m_widest;
    const int m_lineLength;
    qsizetype m_lineStart = 0;      // where the text's own line begins
    qsizetype m_lineEnd = 0;        // where it ends, before its break
    qsizetype m_nextLineStart = -1; // after its break; -1 for the last line
    qsizetype m_at = 0;             // where the next tip line begins, within the own line
    QTextBoundaryFinder m_characters; // over the own line
    bool m_atEnd = false;
};
