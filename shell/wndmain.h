#pragma once

#include "dbctrl.h"
#include "desktop_global.h"
#include "pendingapply.h"
#include "wndtreeadm.h"

#include <QList>
#include <QPointer>
#include <QString>

class DBConn;
class Desktop;
class QCloseEvent;
class QTreeWidgetItem;
class WndLog;

// One server log as the main window lists it under "Logs".
struct LogEntry
{
    QString name;           // as the server names it
    QTreeWidgetItem* item;  // its child of "Logs" in this window's tree
};

// The console's window for one server: the navigation tree, the page of the chosen item
// and the Apply/Reset bar, over its own connection. Several may be open at once, one per
// server; each keeps its own pending changes and its own list of the server's logs.
//
// The window attaches itself and its pending-change controller to the connection before
// it reads anything from the server, so that a failure met while it is being built is
// reported over it. Closing asks about unsaved changes, stores the window's geometry and
// hands the module handle back to the host; destruction deletes the pages and then gives
// the connection up. A close that comes while a wait of the window is on the stack (a
// page's or a dialog's load) is carried out once the code that waited has returned
// (InputBlocker); the host destroys the window only then as well (WaitScope).
//
// Every apply (the Apply button, Yes at a page switch, Yes on closing) sends through
// applyPendingStatements(): the indicator's Abort gives the console back at once, and the
// statements the server carried out before a stop become stored on the pages, so that no
// later apply sends them again.
class WndMain : public WndTreeAdm
{
    Q_OBJECT

public:
    // mode and desktop go to WndTreeAdm. The window is not shown here unless its stored
    // geometry asks for it maximised; the open-connection entry shows and places it.
    WndMain(DBConn* connection, DLLHANDLE dllHandle, int mode, Desktop* desktop);
    ~WndMain() override;

    // True when nothing is pending or the connection is known to be lost.
    bool can_close() override;

    DBCtrl* getDBCtrl() { return &m_dbctrl; }
    // The server's logs in the server's order, as this window read them when it was built.
    const QList<LogEntry>& getLogs() const { return m_logs; }
    QTreeWidgetItem* getCurrentItem() const { return m_current; }
    bool isReverting() const { return m_revert; }

    // The module handle is given back to the host (Desktop::close_dll) only once no
    // connection of the module is alive any more: the host unloads the module when asked,
    // and a worker thread must not outlive the code it runs. The open-connection entry
    // tracks every connection it makes; each unload request waits until all of them are
    // gone, and is then made exactly once.
    static void trackConnection(DBConn* connection);
    static void requestUnload(Desktop* desktop, DLLHANDLE handle);
    static int liveConnections();

    // The separate log windows opened from this window and not deleted yet, oldest first.
    QList<WndLog*> getLogWindows() const;

public slots:
    // The tree's context menu: on a child of "Logs" it offers "Open log in separate window".
    void rightButtonClicked(QTreeWidgetItem* item, const QPoint& globalPos, int column);
    // A viewer of the log last right-clicked, in a window of its own in the workspace.
    void newLogWindow();
    // A separate log window closes; alsoDelete: it goes with the close.
    void slotWindowClosed(QWidget* window, bool alsoDelete);
    void select(QTreeWidgetItem* item) override;
    void apply() override;
    void reset() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool hasPendingChanges() const override { return !m_dbctrl.isEmpty(); }

private:
    void buildNavigationTree();
    void setIcons();
    QTreeWidgetItem* addItem(QTreeWidgetItem* parent, const QString& title);
    void restoreGeometry();
    void storeGeometry();
    // Asks about unsaved changes on closing; false when the window is to stay open.
    bool settleUnsavedChanges();
    void keepCurrentPage();
    void finishClosing();
    // Once per window, whether it closes or is destroyed without closing.
    void handBackModuleHandle();
    // Log windows (wndmainlogs.cpp).
    void connectTreeMenu();
    void showLogView(QTreeWidgetItem* item);
    void closeLogWindows();

public:
    // The navigation tree's fixed items; the page switch recognises items by identity.
    QTreeWidgetItem* m_itemRoot = nullptr;
    QTreeWidgetItem* m_itemConfiguration = nullptr;
    QTreeWidgetItem* m_itemServices = nullptr;
    QTreeWidgetItem* m_itemDomains = nullptr;
    QTreeWidgetItem* m_itemSmtp = nullptr;
    QTreeWidgetItem* m_itemAntivirus = nullptr;
    QTreeWidgetItem* m_itemAntispam = nullptr;
    QTreeWidgetItem* m_itemBackup = nullptr;
    QTreeWidgetItem* m_itemInterCon = nullptr;
    QTreeWidgetItem* m_itemScheduling = nullptr;
    QTreeWidgetItem* m_itemPop3 = nullptr;
    QTreeWidgetItem* m_itemEtrn = nullptr;
    QTreeWidgetItem* m_itemRemote = nullptr;
    QTreeWidgetItem* m_itemAdvanced = nullptr;
    QTreeWidgetItem* m_itemDefinitions = nullptr;
    QTreeWidgetItem* m_itemTimeRanges = nullptr;
    QTreeWidgetItem* m_itemIpGroups = nullptr;
    QTreeWidgetItem* m_itemTemplates = nullptr;
    QTreeWidgetItem* m_itemDomainSettings = nullptr;
    QTreeWidgetItem* m_itemUsers = nullptr;
    QTreeWidgetItem* m_itemGroups = nullptr;
    QTreeWidgetItem* m_itemAliases = nullptr;
    QTreeWidgetItem* m_itemStatus = nullptr;
    QTreeWidgetItem* m_itemQueue = nullptr;
    QTreeWidgetItem* m_itemConnections = nullptr;
    QTreeWidgetItem* m_itemLogs = nullptr;
    QTreeWidgetItem* m_itemChecklist = nullptr;

private:
    // Held by value and destroyed with the window; the pages and the connection keep
    // its address.
    DBCtrl m_dbctrl;
    DLLHANDLE m_dllHandle;
    QList<LogEntry> m_logs;
    // The child of "Logs" whose menu was opened last.
    QTreeWidgetItem* m_logItem = nullptr;
    // A window closed from its workspace frame goes with its frame: the list forgets it.
    QList<QPointer<WndLog>> m_logWindows;
    // The item whose page is in the right pane; written by select() only.
    QTreeWidgetItem* m_current = nullptr;
    // Turns the next change of the tree back without asking (see select()).
    bool m_revert = false;
    // Set once the window has decided to close: the frame's own close then passes.
    bool m_closing = false;
    bool m_unloadRequested = false;

    // Page switching and Apply (wndmainpages.cpp, wndmainapply.cpp).
public:
    // True while a page switch or an apply is under way: it may be waiting for the server
    // or for the administrator. Meanwhile neither starts again, a change of the tree is
    // turned back once it has finished, and a close asked for is made after it.
    bool isBusy() const { return m_switching || m_applying; }

private:
    bool settleChangesBeforeSwitch();
    void switchTo(QTreeWidgetItem* item);
    void showNavigationList(QTreeWidgetItem* group);
    void showChecklist();
    void showEmptyPane();
    bool showRegisteredPage(QTreeWidgetItem* item);
    ApplyOutcome runApply();
    void turnTreeBack();
    void finishBusy();

    bool m_switching = false;
    bool m_applying = false;
    bool m_treeChangedWhileBusy = false;
    bool m_closeWhileBusy = false;
};

// Reads the server's logs ("select LogList()") into logs and makes one child of
// logsItem for each, in the server's order. False, changing nothing, when the request
// fails. A name that does not fit 127 bytes gives a child with an empty name.
bool fillLogList(QList<LogEntry>* logs, QTreeWidgetItem* logsItem, DBConn* conn);
