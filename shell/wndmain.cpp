#include "wndmain.h"

#include "dbconn.h"
#include "dbreq.h"
#include "desktop.h"
#include "globaldata.h"
#include "settingsstore.h"
#include "textcell.h"
#include "unsavedprompt.h"
#include "workspaceframe.h"
#include "xpmicon.h"

#include "images/checklist.xpm"
#include "images/console.xpm"
#include "images/information.xpm"
#include "images/log.xpm"
#include "images/section.xpm"
#include "images/status.xpm"

#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTreeWidget>

namespace {

constexpr int MainTreeWidth = 220;
// The size a window opens at when none is stored: every page of the tree shows at its own
// size hint in it, and it fits the workspace of a console on a 1024 by 768 screen.
constexpr int DefaultWidth = 960;
constexpr int DefaultHeight = 600;
constexpr int LogNameBufferSize = 128;

const char WidthKey[] = "/Admin/Mail/width";
const char HeightKey[] = "/Admin/Mail/height";
const char MaximizedKey[] = "/Admin/Mail/maximized";

} // namespace

WndMain::WndMain(DBConn* connection, DLLHANDLE dllHandle, int mode, Desktop* desktop)
    : WndTreeAdm(connection, mode, desktop)
    , m_dllHandle(dllHandle)
{
    // Before anything is read: a failure met while the window is built is reported over
    // it, and a lost connection empties this window's pending list.
    connection->m_owner = this;
    connection->m_ctrl = &m_dbctrl;

    setWindowTitle(tr("Ornel Corvane - ") + connection->m_host);
    setWindowIcon(xpmIcon(console_xpm));

    setTreeWidth(MainTreeWidth);
    buildNavigationTree();
    setIcons();

    fillLogList(&m_logs, m_itemLogs, connection);
    checkSslInstalled(connection);

    // The tree reports its new current item to select(), which shows the product page.
    getTree()->setCurrentItem(m_itemRoot);

    connect(getApplyButton(), &QPushButton::clicked, this, &WndMain::apply);
    connect(getResetButton(), &QPushButton::clicked, this, &WndMain::reset);
    connect(&m_dbctrl, &DBCtrl::sig_empty, getApplyButton(), &QWidget::setDisabled);
    connect(&m_dbctrl, &DBCtrl::sig_empty, getResetButton(), &QWidget::setDisabled);
    connectTreeMenu();

    restoreGeometry();
}

WndMain::~WndMain()
{
    // From here on a change of the tree's current item is no page switch.
    disconnect(getTree(), nullptr, this, nullptr);
    closeLogWindows();
    // The pages use the controller and the connection: they go while both exist.
    destroyPanes();
    // Destroyed without closing (the host shutting down): the handle still goes back.
    handBackModuleHandle();
}

void WndMain::handBackModuleHandle()
{
    if (m_unloadRequested)
        return;
    m_unloadRequested = true;
    requestUnload(getDesktop(), m_dllHandle);
}

QTreeWidgetItem* WndMain::addItem(QTreeWidgetItem* parent, const QString& title)
{
    // Appended: the tree shows the items in the order they are made.
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(getTree());
    item->setText(0, title);
    return item;
}

void WndMain::buildNavigationTree()
{
    m_itemRoot = addItem(nullptr, QStringLiteral("Ornel Corvane"));

    m_itemConfiguration = addItem(nullptr, QObject::tr("Configuration"));
    m_itemServices = addItem(m_itemConfiguration, QObject::tr("Services"));
    m_itemDomains = addItem(m_itemConfiguration, QObject::tr("Domains"));
    m_itemSmtp = addItem(m_itemConfiguration, QObject::tr("SMTP Properties"));
    m_itemAntivirus = addItem(m_itemConfiguration, QObject::tr("Antivirus"));
    m_itemAntispam = addItem(m_itemConfiguration, QObject::tr("Antispam"));
    m_itemBackup = addItem(m_itemConfiguration, QObject::tr("Backup"));
    m_itemInterCon = addItem(m_itemConfiguration, QObject::tr("Internet Connection"));
    m_itemScheduling = addItem(m_itemConfiguration, QObject::tr("Scheduling"));
    m_itemPop3 = addItem(m_itemConfiguration, QObject::tr("POP3 Download"));
    m_itemEtrn = addItem(m_itemConfiguration, QObject::tr("ETRN Download"));
    m_itemRemote = addItem(m_itemConfiguration, QObject::tr("Remote Administration"));
    m_itemAdvanced = addItem(m_itemConfiguration, QObject::tr("Advanced Options"));
    m_itemDefinitions = addItem(m_itemConfiguration, QObject::tr("Definitions"));
    m_itemTimeRanges = addItem(m_itemDefinitions, QObject::tr("Time Ranges"));
    m_itemIpGroups = addItem(m_itemDefinitions, QObject::tr("IP Address Groups"));
    m_itemTemplates = addItem(m_itemDefinitions, QObject::tr("User Templates"));

    m_itemDomainSettings = addItem(nullptr, QObject::tr("Domain Settings"));
    m_itemUsers = addItem(m_itemDomainSettings, QObject::tr("Users"));
    m_itemGroups = addItem(m_itemDomainSettings, QObject::tr("Groups"));
    m_itemAliases = addItem(m_itemDomainSettings, QObject::tr("Aliases"));

    m_itemStatus = addItem(nullptr, QObject::tr("Status"));
    m_itemQueue = addItem(m_itemStatus, QObject::tr("Mail Queue"));
    m_itemConnections = addItem(m_itemStatus, QObject::tr("Connections"));

    m_itemLogs = addItem(nullptr, QObject::tr("Logs"));

    m_itemChecklist = addItem(nullptr, QObject::tr("Quick Checklist"));

    for (QTreeWidgetItem* item : {m_itemConfiguration, m_itemDomainSettings, m_itemStatus, m_itemLogs})
        item->setExpanded(true);
    m_itemDefinitions->setExpanded(false);
}

void WndMain::setIcons()
{
    const QIcon information(xpmIcon(information_xpm));
    const QIcon section(xpmIcon(section_xpm));
    const QIcon status(xpmIcon(status_xpm));
    const QIcon log(xpmIcon(log_xpm));
    const QIcon checklist(xpmIcon(checklist_xpm));

    m_itemRoot->setIcon(0, information);
    for (QTreeWidgetItem* group : {m_itemConfiguration, m_itemDomainSettings}) {
        group->setIcon(0, section);
        for (int i = 0; i < group->childCount(); ++i)
            group->child(i)->setIcon(0, section);
    }
    for (int i = 0; i < m_itemDefinitions->childCount(); ++i)
        m_itemDefinitions->child(i)->setIcon(0, section);
    for (QTreeWidgetItem* item : {m_itemStatus, m_itemQueue, m_itemConnections})
        item->setIcon(0, status);
    m_itemLogs->setIcon(0, log);
    m_itemChecklist->setIcon(0, checklist);
}

bool fillLogList(QList<LogEntry>* logs, QTreeWidgetItem* logsItem, DBConn* conn)
{
    DBReq req(QStringLiteral("select LogList()"), false);
    conn->insert(&req);
    req.wait(false, nullptr);
    if (req.m_status != 0)
        return false;

    const QIcon icon(xpmIcon(log_xpm));
    const int rows = req.rowCount();
    QList<LogEntry> read;
    read.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        // A cell that does not fit gives an empty name: the log keeps its place,
        // nameless.
        const QByteArray name = readTextCell(req, row, 1, LogNameBufferSize);
        auto* item = new QTreeWidgetItem(logsItem);
        item->setText(0, QString::fromLatin1(name));
        item->setIcon(0, icon);
        read.append({item->text(0), item});
    }
    *logs = read;
    return true;
}

void WndMain::restoreGeometry()
{
    const SettingsStore* settings = getDesktop()->settings();
    const int width = settings->readNumEntry(QLatin1String(WidthKey), 0);
    const int height = settings->readNumEntry(QLatin1String(HeightKey), 0);
    const bool maximized = settings->readBoolEntry(QLatin1String(MaximizedKey), false);

    // A size that is not a size (a hand-edited file) is no stored size. Without one the
    // window starts where every page has its room, as far as the workspace has. Either
    // way it is never smaller than the page it shows needs (WndTreeAdm).
    if (width > 0 && height > 0)
        resizeInWorkspace(QSize(width, height));
    else
        resizeInWorkspace(QSize(DefaultWidth, DefaultHeight).boundedTo(roomInWorkspace(this)));
    if (getDesktop()->width() < width || getDesktop()->height() < height || maximized)
        showMaximized();
}

void WndMain::storeGeometry()
{
    SettingsStore* settings = getDesktop()->settings();
    const SettingsStore::Batch oneWrite(settings);
    const bool maximized = isMaximizedInWorkspace();
    settings->writeEntry(QLatin1String(MaximizedKey), maximized);
    // While maximised the window's own size is the workspace's: the last normal size stays.
    if (!maximized) {
        settings->writeEntry(QLatin1String(HeightKey), height());
        settings->writeEntry(QLatin1String(WidthKey), width());
    }
}

bool WndMain::can_close()
{
    return m_dbctrl.isEmpty() || getConnection()->m_lost;
}

void WndMain::closeEvent(QCloseEvent* event)
{
    // The frame's close asks this window again once it has decided.
    if (m_closing) {
        event->accept();
        return;
    }
    if (isBusy()) {
        // A page switch or an apply is waiting: the close is made once it has finished.
        m_closeWhileBusy = true;
        event->ignore();
        return;
    }
    // The save asked about waits for the server, and the window may go meanwhile.
    const QPointer<WndMain> self(this);
    const bool settled = settleUnsavedChanges();
    if (!self)
        return;
    if (!settled) {
        event->ignore();
        return;
    }
    finishClosing();
    event->accept();
}

bool WndMain::settleUnsavedChanges()
{
    if (can_close())
        return true;

    switch (askToSaveChanges(this, getConnection()->m_host)) {
    case UnsavedChangesAnswer::Save:
        switch (runApply()) {
        case ApplyOutcome::Withdrawn:
            // As Cancel; the pages have handed their statements in again.
            keepCurrentPage();
            return false;
        case ApplyOutcome::Refused:
        case ApplyOutcome::Aborted:
            // The server is there but has not taken it all: the window stays open on what
            // was typed, still pending, and the next close asks again.
            return false;
        case ApplyOutcome::Applied:
        case ApplyOutcome::ConnectionLost:
        case ApplyOutcome::Abandoned:
            break;
        }
        return true;
    case UnsavedChangesAnswer::Discard:
        m_dbctrl.discard();
        return true;
    case UnsavedChangesAnswer::Keep:
        break;
    }
    m_revert = true;
    keepCurrentPage();
    return false;
}

void WndMain::keepCurrentPage()
{
    getTree()->setCurrentItem(m_current);
}

void WndMain::finishClosing()
{
    closeLogWindows();
    storeGeometry();
    m_closing = true;
    handBackModuleHandle();
    // The frame goes with the window; closing it while this window closes returns at
    // once into this close, which has decided.
    if (QMdiSubWindow* frame = workspaceFrame())
        frame->close();
}
