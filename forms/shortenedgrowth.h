#pragma once

#include <QEvent>

class QWidget;

// Lets a widget that shows its text shortened grow with its window: while the widget asks
// its layout for less room than its whole text needs, its horizontal size policy expands
// and stretches, so that it takes the room its layout has to spare rather than the blank
// beside it, and shows more of its text the wider the window is. The fields that stretch
// with it share that room. With the text whole again the widget keeps the policy its form
// gave it.
class ShortenedGrowth
{
public:
    explicit ShortenedGrowth(QWidget* widget) : m_widget(widget) {}

    // Whether the widget's ask may have changed with this event, unseen by its layouts: it
    // is polished (before the layouts first place it), shown (a box measures its entries
    // then), or given another font or style.
    static bool mayChangeTheAsk(QEvent::Type type);

    // Follows at once whether the widget asks for less room than its text needs.
    void follow(bool shortened);
    // Notes what a size hint just found and follows it from the event loop when it changed:
    // a widget's texts change under calls that tell the widget nothing.
    void note(bool shortened);

private:
    QWidget* const m_widget;
    bool m_expanded = false;  // the expand flag is this object's, not the form's
    bool m_stretched = false; // and so is the stretch
    bool m_followed = false;  // what was followed last
    bool m_noted = false;     // what a queued follow follows
    bool m_pending = false;   // a follow is queued
};
