#pragma once

// A main window on its own connection to the stand-in server, in a workspace of its own,
// shown; destroyed, and its connection gone, when the harness goes.

#include "dbconn.h"
#include "dbctrl.h"
#include "desktop.h"
#include "wndmain.h"

#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QTreeWidget>

#include <memory>

class MainWindowHarness
{
public:
    explicit MainWindowHarness(quint16 port, Desktop* desktop = nullptr)
    {
        if (!desktop) {
            m_ownDesktop = std::make_unique<Desktop>();
            m_ownDesktop->resize(1000, 700);
            m_ownDesktop->show();
            desktop = m_ownDesktop.get();
        }
        m_desktop = desktop;
        auto* conn = new DBConn("127.0.0.1", QByteArray::number(port).constData(), "admin",
                                "admin", 0);
        m_conn = conn;
        if (!conn->connwait(false, nullptr) || conn->m_state != DBConn::Connected) {
            conn->stop();
            return;
        }
        m_window = new WndMain(conn, reinterpret_cast<DLLHANDLE>(this), 0, desktop);
        desktop->addSubWindow(m_window);
        // Room for the whole tree, so that every item can be clicked.
        m_window->parentWidget()->resize(900, 650);
        m_window->show();
    }

    ~MainWindowHarness()
    {
        delete m_window.data();
        if (!QTest::qWaitFor([this] { return m_conn.isNull(); }, 10000))
            qWarning("MainWindowHarness: the connection did not end");
    }

    MainWindowHarness(const MainWindowHarness&) = delete;
    MainWindowHarness& operator=(const MainWindowHarness&) = delete;

    bool isOpen() const { return !m_window.isNull(); }
    WndMain* window() const { return m_window.data(); }
    WndMain* operator->() const { return m_window.data(); }
    DBConn* conn() const { return m_conn.data(); }
    DBCtrl* ctrl() const { return m_window->getDBCtrl(); }
    Desktop* desktop() const { return m_desktop; }
    QTreeWidget* tree() const { return m_window->getTree(); }

    // The tree item at the end of path, titles from the top level down; null when none.
    QTreeWidgetItem* item(const QStringList& path) const
    {
        QTreeWidgetItem* found = nullptr;
        for (const QString& title : path) {
            QTreeWidgetItem* parent = found;
            found = nullptr;
            const int count = parent ? parent->childCount() : tree()->topLevelItemCount();
            for (int i = 0; i < count && !found; ++i) {
                QTreeWidgetItem* candidate = parent ? parent->child(i) : tree()->topLevelItem(i);
                if (candidate->text(0) == title)
                    found = candidate;
            }
            if (!found)
                return nullptr;
        }
        return found;
    }

    QTreeWidgetItem* item(const QString& slashPath) const
    {
        return item(slashPath.split(QLatin1Char('/')));
    }

    // As the administrator does with a click: the tree's current item changes.
    void choose(const QString& slashPath) const { tree()->setCurrentItem(item(slashPath)); }

private:
    std::unique_ptr<Desktop> m_ownDesktop;
    Desktop* m_desktop = nullptr;
    QPointer<DBConn> m_conn;
    QPointer<WndMain> m_window;
};
