#pragma once

#include <QLabel>
#include <QSize>
#include <QString>
#include <QStringList>

// How the toolkit's tool tip shows lines of text: the markup that holds them as they stand,
// and how large a tip holding them is, learnt from a label set up as the toolkit sets up its
// tips, before any tip shows.
class TipMetrics
{
public:
    TipMetrics();

    // The lines as a tip shows them as they stand.
    static QString markup(const QStringList& lines);

    // The size of a tip showing `lines`, without what the window system may add around it.
    QSize sizeOf(const QStringList& lines) const;
    // What a tip takes around its lines, and the height of a line in the tips' font.
    QSize frame() const { return m_frame; }
    int lineHeight() const { return m_lineHeight; }

private:
    mutable QLabel m_label; // set up as a tip, laid out for each size asked for
    QSize m_frame;
    int m_lineHeight = 1;
};
