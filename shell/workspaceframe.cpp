#include "workspaceframe.h"

#include <QMdiSubWindow>

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
