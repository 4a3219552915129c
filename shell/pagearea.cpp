#include "pagearea.h"

#include <QEvent>

PageArea::PageArea(QWidget* parent)
    : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    // The area shows no focus and scrolls to whatever widget of the page has it: Tab from the
    // tree goes straight to the page.
    setFocusPolicy(Qt::NoFocus);
}

QSize PageArea::minimumSizeHint() const
{
    const QWidget* page = widget();
    if (!page)
        return QScrollArea::minimumSizeHint();
    return page->minimumSizeHint().expandedTo(page->minimumSize());
}

QSize PageArea::sizeHint() const
{
    const QWidget* page = widget();
    return page ? page->sizeHint().expandedTo(minimumSizeHint()) : QScrollArea::sizeHint();
}

bool PageArea::eventFilter(QObject* watched, QEvent* event)
{
    // The holder's layout changed (a page came or went, or a page's own minimum changed):
    // what the area asks for changes with it, and the window around it is told.
    if (watched == widget() && event->type() == QEvent::LayoutRequest)
        updateGeometry();
    return QScrollArea::eventFilter(watched, event);
}
