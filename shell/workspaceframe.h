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
