#include "workspaceframe.h"

#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QScreen>

namespace {

// The area the frame lives in, as big as it is now; an invalid size when there is none.
QSize workspaceSize(const QWidget* window)
{
    const QMdiSubWindow* frame = workspaceFrame(window);
    const QWidget* area = frame ? frame->parentWidget() : nullptr;
    if (area && area->isVisible())
        return area->size();
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableSize() : QSize();
}

} // namespace

QMdiSubWindow* workspaceFrame(const QWidget* window)
{
    return qobject_cast<QMdiSubWindow*>(window->parentWidget());
}

bool isMaximizedInWorkspace(const QWidget* window)
{
    const QMdiSubWindow* frame = workspaceFrame(window);
    return window->isMaximized() || (frame && frame->isMaximized());
}

QWidget* outerWindow(QWidget* window)
{
    QMdiSubWindow* frame = workspaceFrame(window);
    return frame ? static_cast<QWidget*>(frame) : window;
}

void resizeInWorkspace(QWidget* window, const QSize& size)
{
    if (QMdiSubWindow* frame = workspaceFrame(window))
        frame->resize(size.grownBy(frame->contentsMargins()));
    else
        window->resize(size);
}

QSize roomInWorkspace(const QWidget* window)
{
    const QSize whole = workspaceSize(window);
    const QMdiSubWindow* frame = workspaceFrame(window);
    if (!whole.isValid() || !frame)
        return whole;
    return whole.shrunkBy(frame->contentsMargins()).expandedTo(QSize(0, 0));
}

void keepMinimumSize(QWidget* window, const QSize& minimum)
{
    window->setMinimumSize(minimum);
    QMdiSubWindow* frame = workspaceFrame(window);
    if (!frame)
        return;
    const QSize before = frame->size();
    frame->setMinimumSize(minimum.grownBy(frame->contentsMargins()));
    if (frame->size() != before && !frame->isMaximized())
        moveInsideWorkspace(window);
}

void moveInsideWorkspace(QWidget* window)
{
    QMdiSubWindow* frame = workspaceFrame(window);
    const QWidget* area = frame ? frame->parentWidget() : nullptr;
    if (!area || frame->isMaximized())
        return;
    const QRect inside = area->rect();
    QPoint at = frame->pos();
    at.setX(qMax(inside.left(), qMin(at.x(), inside.right() + 1 - frame->width())));
    at.setY(qMax(inside.top(), qMin(at.y(), inside.bottom() + 1 - frame->height())));
    if (at != frame->pos())
        frame->move(at);
}
