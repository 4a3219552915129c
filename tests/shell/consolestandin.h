#pragma once

// A console for the shell's tests: a top window holding the workspace, in which main
// windows are opened through the open-connection entry exactly as the host opens them.

#include "desktop.h"
#include "globaldata.h"
#include "ornelplugin.h"
#include "settingsstore.h"
#include "wndmain.h"

#include <QDir>
#include <QFile>
#include <QMdiSubWindow>
#include <QPointer>
#include <QVBoxLayout>
#include <QWidget>
#include <QtTest>

#include <memory>

// What the host would pass as the module's handle; the module only hands it back.
inline DLLHANDLE testHandle(int n = 1)
{
    return reinterpret_cast<DLLHANDLE>(quintptr(0x1000 * n));
}

class ConsoleStandIn
{
public:
    // Starts from an empty settings store.
    ConsoleStandIn()
    {
        QFile::remove(QDir::homePath() + QStringLiteral("/.Ornel/adminrc"));
        m_console = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(m_console.get());
        layout->setContentsMargins(0, 0, 0, 0);
        m_desktop = new Desktop(m_console.get());
        layout->addWidget(m_desktop);
        m_console->resize(1000, 700);
        m_console->show();
        if (!QTest::qWaitForWindowExposed(m_console.get()))
            qWarning("ConsoleStandIn: the console window was not shown");
    }

    // Every window goes, and the test waits until their connections have ended.
    ~ConsoleStandIn()
    {
        closeAll();
        m_console.reset();
    }

    ConsoleStandIn(const ConsoleStandIn&) = delete;
    ConsoleStandIn& operator=(const ConsoleStandIn&) = delete;

    QWidget* console() const { return m_console.get(); }
    Desktop* desktop() const { return m_desktop; }
    SettingsStore* settings() const { return m_desktop->settings(); }

    // The new main window, or null when none was opened.
    WndMain* open(quint16 port, int mode = 0, const char* password = "admin",
                  DLLHANDLE handle = testHandle())
    {
        const QList<QMdiSubWindow*> before = m_desktop->subWindowList();
        const QByteArray portText = QByteArray::number(port);
        module_connect(m_desktop, 0, "127.0.0.1", portText.constData(), "admin", password, 0,
                       handle, mode);
        for (QMdiSubWindow* frame : m_desktop->subWindowList()) {
            if (!before.contains(frame))
                return qobject_cast<WndMain*>(frame->widget());
        }
        return nullptr;
    }

    void closeAll()
    {
        QList<QPointer<QMdiSubWindow>> frames;
        for (QMdiSubWindow* frame : m_desktop->subWindowList())
            frames.append(frame);
        for (const QPointer<QMdiSubWindow>& frame : frames)
            delete frame.data();
        QTRY_COMPARE_WITH_TIMEOUT(WndMain::liveConnections(), 0, 10000);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private:
    std::unique_ptr<QWidget> m_console;
    Desktop* m_desktop;
};
