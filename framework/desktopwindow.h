#pragma once

#include "desktop_global.h"

// A window that the workspace can bring forward on the host's request. The module's main
// windows implement it; Desktop::activateWindow() reaches them through it, because the main
// window class lives in the module, which the workspace library cannot know.
class ORNEL_DESKTOP_EXPORT DesktopWindow
{
public:
    virtual ~DesktopWindow();

    // Gives the window the keyboard focus.
    virtual void setWindowActive() = 0;

protected:
    DesktopWindow() = default;
    DesktopWindow(const DesktopWindow&) = default;
    DesktopWindow& operator=(const DesktopWindow&) = default;
};
