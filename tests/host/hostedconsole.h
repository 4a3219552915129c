#pragma once

// The console host with the administration module in it, run in a test's process with the
// console's own code: the module loaded and checked by ModuleLibrary, its servers opened in
// a ConsoleWindow as ornel-console opens them, and unloaded by that window once the module
// asks. Only main() of the console is not used: the test takes its place.

#include "consolewindow.h"
#include "modulelibrary.h"

#include <QString>

#include <memory>

class Desktop;
class QMdiSubWindow;
class QWidget;

class HostedConsole
{
public:
    explicit HostedConsole(const QString& modulePath);
    // Whatever is left of the module goes as the console's forced shutdown takes it.
    ~HostedConsole();
    HostedConsole(const HostedConsole&) = delete;
    HostedConsole& operator=(const HostedConsole&) = delete;

    // Loads the module and asks it for its descriptor; false with *error when it cannot.
    bool load(QString* error);
    bool isLoaded() const { return m_module.isLoaded(); }

    // Opens the server as the console does (module_connect, a socket of the module's own,
    // in the layout mode given) and returns the module's main window; null when none was
    // opened.
    QWidget* openServer(quint16 port, const char* user = "admin", const char* password = "admin",
                        int mode = 0);

    Desktop* desktop() const { return m_window ? m_window->desktop() : nullptr; }
    // The console's main window; null before load().
    ConsoleWindow* console() const { return m_window.get(); }
    // The module's main window in the workspace and its frame; null when there is none.
    QWidget* mainWindow() const;
    QMdiSubWindow* frame() const;

    // Runs the console's event loop as its main() does, until the console has unloaded the
    // module and quits. Returns its exit status, or -1 when it did not quit within msecs.
    int runUntilQuit(int msecs);

private:
    QString m_modulePath;
    ModuleLibrary m_module;
    std::unique_ptr<ConsoleWindow> m_window;
};
