#pragma once

#include <QEvent>
#include <QSizePolicy>

#include <optional>

class QWidget;

// Lets a widget that shows its text shortened grow with its window: while the widget asks
// its layout for less room than its whole text needs, its horizontal size policy expands
// and stretches, so that it takes the room its layout has to spare rather than the blank
// beside it, and shows more of its text the wider the window is. The fields that stretch
// with it share that room. Once the text needs no more, the widget has the policy its form
// gave it again, unless the form has set another since.
class ShortenedGrowth
{
public:
    explicit ShortenedGrowth(QWidget* widget) : m_widget(widget) {}

    // Whether the widget's size hint may have changed with this event, unseen by its
    // layouts: it is polished (before the layouts first place it), shown (a choice box
    // measures its entries then), or given another font or style.
    static bool canChangeTheSizeHint(QEvent::Type type);

    // Applies at once whether the widget asks for less room than its text needs.
    void apply(bool shortened);
    // Applies from the event loop what a size hint just found, when it differs from what
    // was applied: a widget's texts change under calls that tell the widget nothing, and a
    // size hint is asked for in the middle of a layout's work.
    void applyLater(bool shortened);

private:
    void setPolicy(const QSizePolicy& policy);

    QWidget* const m_widget;
    std::optional<QSizePolicy> m_formPolicy; // the form's own, while the growing one is set
    QSizePolicy m_growing;                   // the policy set while the text is shortened
    bool m_shortened = false;                // what was applied last
    bool m_later = false;                    // what the queued call applies
    bool m_pending = false;                  // a call is queued
};
