#pragma once

#include "desktop_global.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>

class Desktop;
class ModuleLibrary;

// The console's main window: the workspace in its centre, in which the module places its
// windows. It lets the module go when the module asks (Desktop::signalCloseDll) or when
// the console is closed, but only once every window of the module is gone, and quits when
// nothing is left. A module that has opened windows may still run code after they are
// gone (a connection ending), so it is let go only once it has asked; one that never
// opened a window is let go at once.
//
// Nothing of this happens while code of the module is on the stack: a call into it, a
// modal loop of it (a message box, a dialog), or a wait of it for the server, which runs
// the event loop without a loop of its own and often from a click rather than from a call
// of the host (the module says so through Desktop::isModuleWaiting). The module's code
// would return into windows or code that are gone. No window of the module is destroyed
// then; a shutdown ends the box first (a dialog whose code waits, once the wait has returned
// into it, not under it) and is carried out once the loop, the call or the wait has
// returned. The library itself is unloaded only after the event loop has returned
// (unloadReleasedModule), when no code of the module can be on the stack any more.
class ConsoleWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit ConsoleWindow(ModuleLibrary* module, QWidget* parent = nullptr);
    ~ConsoleWindow() override;

    // Shows the window on the screen under the pointer at its usual size, 1024 by 720, or,
    // where the free area of that screen (the screen less its panels and docks) does not hold
    // that with the window's frame, as large as that area holds, wholly inside it: a page's
    // buttons at the bottom stay on the screen of a small or scaled display.
    void showOnScreen();

    Desktop* desktop() const { return m_desktop; }
    bool hasModuleWindows() const;

    // The code the application exits with once the module is unloaded; the worst one wins.
    void reportFailure(int exitCode);

    // Closes the module's windows and then unloads it and quits. With force, windows that
    // refuse to close (unsaved changes kept) are destroyed all the same. Called while a
    // call into the module, a modal loop or a wait of it runs, it ends the loop's box (once
    // no wait is on the stack) and goes on once they have returned.
    void shutDown(bool force);

    // Brackets a call into the module. The call may run the event loop (a wait, a dialog);
    // the module is not unloaded while one is on the stack.
    void enterModule() { ++m_moduleCalls; }
    void leaveModule() { --m_moduleCalls; }

    // Saves a picture of the console as it is now.
    bool saveScreenshot(const QString& file);

    // After the event loop has returned: unloads the module if it was let go.
    void unloadReleasedModule();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Gives the window the screen it is to be made on, with its middle in that screen's free
    // area.
    void startOn(QScreen* screen);
    // Makes the window, frame and all, no larger than its screen's free area and moves it
    // inside that area as far as it has to.
    void fitIntoFreeArea();
    // Puts the window's frame's top left corner at `at`, with the window `size` inside it.
    void placeFrame(QPoint at, QSize size);
    void onCloseDll(DLLHANDLE handle);
    void unloadWhenWindowsGone();
    void checkWindowsGone();
    void releaseAndQuit();
    void quitWithoutUnloading();
    bool moduleCodeOnStack() const;
    static bool insideModalLoop();
    static void endModalLoop();

    ModuleLibrary* m_module;
    Desktop* m_desktop;
    QTimer m_windowsGoneTimer;
    QElapsedTimer m_waitingForRequest;
    int m_exitCode = 0;
    int m_moduleCalls = 0;
    bool m_quitting = false;
    bool m_released = false; // the module may be unloaded once the event loop has returned
    bool m_moduleHadWindows = false;
    bool m_unloadRequested = false;
    bool m_fitOnActivation = false; // once, when the window system first activates the window
};
