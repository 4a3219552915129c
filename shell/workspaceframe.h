#pragma once

class QMdiSubWindow;
class QSize;
class QWidget;

// A window placed in the workspace sits in a frame of its own (QMdiSubWindow), which is
// what the workspace moves, sizes and maximises; these answer for the window and its
// frame together.

// The workspace's frame around window; null outside a workspace.
QMdiSubWindow* workspaceFrame(const QWidget* window);

// Maximised, whether the window itself or its frame was asked to be.
bool isMaximizedInWorkspace(const QWidget* window);

// What is moved and sized in the workspace: the frame, or a window that has none.
QWidget* outerWindow(QWidget* window);

// Sizes window's frame so that window gets size; a window without a frame is sized itself.
void resizeInWorkspace(QWidget* window, const QSize& size);

// The largest size window can have with its frame wholly inside the workspace (inside its
// screen's available area while the workspace is not shown, or without one).
QSize roomInWorkspace(const QWidget* window);

// Window and its frame never get smaller than minimum. A frame that is smaller grows, and
// moves back into the workspace as far as it has to for the whole of it to show there.
void keepMinimumSize(QWidget* window, const QSize& minimum);

// Moves window's frame back into the workspace as far as it has to for the whole of it to
// show there; one larger than the workspace keeps its top left corner in view.
void moveInsideWorkspace(QWidget* window);
