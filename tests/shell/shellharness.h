#pragma once

// What the shell's tests share: the stand-in server and connections to it (from the link
// tests), a console whose main windows are opened through the open-connection entry as the
// host opens them, a log of the pending-change controller's signals, and a stand-in page
// that records how the page table built it.

#include "adminfile.h"
#include "dbctrl.h"
#include "desktop.h"
#include "ornelplugin.h"
#include "pagefactory.h"
#include "settingsstore.h"
#include "standinconnection.h"
#include "wndmain.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QPointer>
#include <QStringList>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

// What the host would pass as the module's handle; the module only hands it back.
inline DLLHANDLE testHandle(int n = 1)
{
    return reinterpret_cast<DLLHANDLE>(quintptr(0x1000 * n));
}

// A shown top window of 1000 by 700 holding the workspace, over an empty settings store.
// Every window goes with it, and it waits until their connections have ended.
class ConsoleStandIn
{
public:
    ConsoleStandIn() : m_console(std::make_unique<QWidget>())
    {
        QFile::remove(QDir::homePath() + QStringLiteral("/.Ornel/adminrc"));
        auto* layout = new QVBoxLayout(m_console.get());
        layout->setContentsMargins(0, 0, 0, 0);
        m_desktop = new Desktop(m_console.get());
        layout->addWidget(m_desktop);
        m_console->resize(1000, 700);
        m_console->show();
        if (!QTest::qWaitForWindowExposed(m_console.get()))
            qWarning("ConsoleStandIn: the console window was not shown");
    }
    ~ConsoleStandIn() { closeAll(); }
    ConsoleStandIn(const ConsoleStandIn&) = delete;
    ConsoleStandIn& operator=(const ConsoleStandIn&) = delete;

    QWidget* console() const { return m_console.get(); }
    Desktop* desktop() const { return m_desktop; }
    SettingsStore* settings() const { return m_desktop->settings(); }

    // The size the next window opens at; 0 leaves a key unwritten.
    void storeSize(int width, int height) const
    {
        if (width)
            settings()->writeEntry(QStringLiteral("/Admin/Mail/width"), width);
        if (height)
            settings()->writeEntry(QStringLiteral("/Admin/Mail/height"), height);
    }

    // The new main window, or null when none was opened.
    WndMain* open(quint16 port, int mode = 0, const char* password = "admin",
                  DLLHANDLE handle = testHandle())
    {
        const QList<QMdiSubWindow*> before = m_desktop->subWindowList();
        module_connect(m_desktop, 0, "127.0.0.1", QByteArray::number(port).constData(), "admin",
                       password, 0, handle, mode);
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

// The item of window's tree at the end of a path of titles ("Configuration/Services");
// null when there is none.
inline QTreeWidgetItem* treeItem(const WndMain* window, const QString& path)
{
    QTreeWidget* tree = window->getTree();
    QTreeWidgetItem* found = nullptr;
    for (const QString& title : path.split(QLatin1Char('/'))) {
        QTreeWidgetItem* parent = found;
        found = nullptr;
        const int count = parent ? parent->childCount() : tree->topLevelItemCount();
        for (int i = 0; i < count && !found; ++i) {
            QTreeWidgetItem* candidate = parent ? parent->child(i) : tree->topLevelItem(i);
            if (candidate->text(0) == title)
                found = candidate;
        }
        if (!found)
            return nullptr;
    }
    return found;
}

// The item titled title, anywhere in window's tree; null when there is none.
inline QTreeWidgetItem* itemTitled(const WndMain* window, const QString& title)
{
    const QList<QTreeWidgetItem*> found
        = window->getTree()->findItems(title, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

// Chooses the item titled title, anywhere in window's tree; the page switched away from goes,
// and the new one is laid out (the layouts hear of it through posted events).
inline void chooseTitled(WndMain* window, const QString& title)
{
    window->getTree()->setCurrentItem(itemTitled(window, title));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}

// As the administrator's click does: the tree's current item changes.
inline void choose(WndMain* window, const QString& path)
{
    window->getTree()->setCurrentItem(treeItem(window, path));
}

// The stand-in server and a console with one main window open on it: what the tests of a
// page start from. They set the server's tables, then open their page.
struct WindowOnStandIn
{
    WindowOnStandIn() : server(startStandIn()), console(std::make_unique<ConsoleStandIn>())
    {
        window = console->open(server->port());
    }
    ~WindowOnStandIn() { console.reset(); }
    WindowOnStandIn(const WindowOnStandIn&) = delete;
    WindowOnStandIn& operator=(const WindowOnStandIn&) = delete;

    std::unique_ptr<StandIn::TestServer> server;
    std::unique_ptr<ConsoleStandIn> console; // goes first: its windows use the server
    WndMain* window = nullptr;
};

// Chooses the tree item at path and returns the page of class Page it opened; null when
// none. The page switched away from, which goes later, is not taken for it.
template<class Page>
Page* openPage(WndMain* window, const QString& path)
{
    choose(window, path);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return window->findChild<Page*>();
}

// Sends the window's pending list as "A&pply" does and returns the statements the server
// received meanwhile, in order.
inline QStringList applied(WndMain* window, const StandIn::TestServer& server)
{
    const int before = int(server.journal().size());
    window->apply();
    return journalFrom(server, before);
}

// The titles of a list's header, left to right as shown.
inline QStringList headerTitles(const QTreeWidget* list)
{
    QStringList titles;
    for (int visual = 0; visual < list->header()->count(); ++visual)
        titles.append(list->headerItem()->text(list->header()->logicalIndex(visual)));
    return titles;
}

// The signals of a pending-change controller, in the order they came.
class CtrlSignalLog
{
public:
    explicit CtrlSignalLog(DBCtrl& ctrl)
    {
        QObject::connect(&ctrl, &DBCtrl::sig_before_apply, &ctrl, [this] { events << "before_apply"; });
        QObject::connect(&ctrl, &DBCtrl::sig_update_again, &ctrl, [this] { events << "update_again"; });
        QObject::connect(&ctrl, &DBCtrl::sig_reset, &ctrl, [this] { events << "reset"; });
        QObject::connect(&ctrl, &DBCtrl::sig_empty, &ctrl,
                         [this](bool empty) { events << (empty ? "empty(true)" : "empty(false)"); });
        QObject::connect(&ctrl, &DBCtrl::sig_carried_out, &ctrl, [this](const QStringList& statements) {
            events << QStringLiteral("carried_out(%1)").arg(statements.size());
            carriedOut += statements;
        });
        QObject::connect(&ctrl, &DBCtrl::sig_apply, &ctrl, [this, &ctrl] {
            events << "apply";
            pendingAtApply = ctrl.m_pending;
        });
    }

    QStringList events;
    QStringList pendingAtApply{"not emitted"}; // as the slots of sig_apply() found it
    QStringList carriedOut;                    // every statement sig_carried_out() named
};

// A stand-in page with a constructor for each argument order of the module's pages: it
// records which one the page table used, and with what.
struct ReceivedArguments
{
    PageFactory::ArgumentOrder order;
    QWidget* self; // with the parent it was given
    DBConn* conn;
    DBCtrl* ctrl;
    Desktop* desktop;
    bool nullName;
};

inline QList<ReceivedArguments>& receivedArguments()
{
    static QList<ReceivedArguments> received;
    return received;
}

class RecordingPage : public QWidget
{
public:
    using Order = PageFactory::ArgumentOrder;
    using Flags = Qt::WindowFlags;

    RecordingPage(QWidget* p, DBConn* conn, DBCtrl* ctrl, Desktop* d, const char* name, Flags f)
        : RecordingPage(Order::Standard, p, conn, ctrl, d, name, f) {}
    RecordingPage(QWidget* p, DBConn* conn, DBCtrl* ctrl, const char* name, Flags f)
        : RecordingPage(Order::WithoutDesktop, p, conn, ctrl, nullptr, name, f) {}
    RecordingPage(QWidget* p, DBConn* conn, Desktop* d, DBCtrl* ctrl, const char* name, Flags f)
        : RecordingPage(Order::DesktopBeforeCtrl, p, conn, ctrl, d, name, f) {}
    RecordingPage(QWidget* p, DBConn* conn, DBCtrl* ctrl, const char* name, Flags f, Desktop* d)
        : RecordingPage(Order::DesktopLast, p, conn, ctrl, d, name, f) {}

private:
    RecordingPage(Order order, QWidget* p, DBConn* conn, DBCtrl* ctrl, Desktop* d,
                  const char* name, Flags f)
        : QWidget(p, f)
    {
        receivedArguments().append({order, this, conn, ctrl, d, name == nullptr});
    }
};

// While it lives, every page of the table is a recording page.
struct RecordingPagesRegistered
{
    RecordingPagesRegistered()
    {
        for (const PageFactory::PageEntry& page : PageFactory::pages())
            PageFactory::registerPage<RecordingPage>(page.kind);
        receivedArguments().clear();
    }
    ~RecordingPagesRegistered()
    {
        for (const PageFactory::PageEntry& page : PageFactory::pages())
            PageFactory::unregisterPage(page.kind);
        receivedArguments().clear();
    }
};
