#include "desktopwindow.h"

// Out of line so that the type information lives once, in this library: the workspace
// recognises windows built in the module with a dynamic_cast across the library boundary.
DesktopWindow::~DesktopWindow() = default;
