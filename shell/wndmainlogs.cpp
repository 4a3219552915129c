// The log windows of the main window: a log's viewer in the right pane, the tree's menu on a
// log, and the separate log windows, which close with the main window.

#include "wndmain.h"

#include "dbconn.h"
#include "desktop.h"
#include "settingsstore.h"
#include "workspaceframe.h"
#include "wndlog.h"
#include "xpmicon.h"

#include "images/log.xpm"

#include <QMdiSubWindow>
#include <QMenu>
#include <QTreeWidget>

#include <utility>

namespace {

// A separate log window with nothing stored gets this share of the active window's size.
constexpr double LogWindowShare = 0.8;

} // namespace

void WndMain::connectTreeMenu()
{
    QTreeWidget* tree = getTree();
    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tree, &QWidget::customContextMenuRequested, this, [this, tree](const QPoint& pos) {
        QTreeWidgetItem* item = tree->itemAt(pos);
        rightButtonClicked(item, tree->viewport()->mapToGlobal(pos), item ? tree->columnAt(pos.x()) : -1);
    });
}

void WndMain::showLogView(QTreeWidgetItem* item)
{
    WndLog* view = createLogView(getRightPane(), getConnection(), item->text(0), Qt::Widget);
    view->setAttribute(Qt::WA_DeleteOnClose);
    setRightPaneWindow(view, false);
}

void WndMain::rightButtonClicked(QTreeWidgetItem* item, const QPoint& globalPos, int /*column*/)
{
    if (!item || item->parent() != m_itemLogs)
        return;
    m_logItem = item;
    // Made anew at each click; it goes once it has closed.
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(tr("Open log in separate window"), this, &WndMain::newLogWindow);
    menu->popup(globalPos, menu->actions().constFirst());
}

void WndMain::newLogWindow()
{
    if (!m_logItem)
        return;
    Desktop* desktop = getDesktop();
    const QString name = m_logItem->text(0);

    const QWidget* active = desktop->activeWindow();
    const QSize base = active ? active->size() : size();
    const SettingsStore* settings = desktop->settings();
    const QString key = QStringLiteral("/Admin/Logs/") + name;
    const int width = settings->readNumEntry(key + QStringLiteral("/width"),
                                             int(base.width() * LogWindowShare));
    const int height = settings->readNumEntry(key + QStringLiteral("/height"),
                                              int(base.height() * LogWindowShare));

    WndLog* view = createLogView(desktop, getConnection(), name, Qt::Widget);
    m_logWindows.append(view);
    desktop->addSubWindow(view);
    // Whole in the workspace: no larger than it has room for, and moved into it.
    const QSize room = roomInWorkspace(view);
    keepMinimumSize(view, view->minimumSizeHint().boundedTo(room));
    ::resizeInWorkspace(view, QSize(width, height).boundedTo(room));
    view->setWindowIcon(xpmIcon(log_xpm));
    view->setWindowTitle(tr("Ornel Corvane - ") + getConnection()->m_host + QStringLiteral(" - ")
                         + name);
    view->show();
    moveInsideWorkspace(view);
    desktop->addWindow(view, this);
    connect(view, &WndLog::signalWindowClosed, this, &WndMain::slotWindowClosed);
}

void WndMain::slotWindowClosed(QWidget* window, bool alsoDelete)
{
    getDesktop()->removeWindow(window, true);
    if (alsoDelete)
        m_logWindows.removeAll(QPointer<WndLog>(static_cast<WndLog*>(window)));
}

QList<WndLog*> WndMain::getLogWindows() const
{
    QList<WndLog*> windows;
    for (const QPointer<WndLog>& view : m_logWindows) {
        if (view)
            windows.append(view);
    }
    return windows;
}

void WndMain::closeLogWindows()
{
    const QList<QPointer<WndLog>> windows = std::exchange(m_logWindows, {});
    for (const QPointer<WndLog>& view : windows) {
        if (!view)
            continue;
        getDesktop()->removeWindow(view, true);
        view->close();
        // Later, with its frame: the close may have been refused while the view loads.
        if (view)
            outerWindow(view)->deleteLater();
    }
}
