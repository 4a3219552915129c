// The page switch of the main window: whether the tree may move to another item, the
// unsaved-changes prompt, and the page each item opens in the right pane.

#include "wndmain.h"

#include "dbconn.h"
#include "pagefactory.h"
#include "quickchecklist.h"
#include "unsavedprompt.h"
#include "wnddlglogo.h"
#include "wndnavigation.h"
#include "xpmicon.h"

#include "images/headerleft.xpm"
#include "images/log.xpm"
#include "images/section.xpm"
#include "images/status.xpm"

#include <QPointer>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>
#include <utility>

namespace {

// A new page container with its header row; the container is not yet in the pane.
struct PageContainer
{
    QWidget* widget = nullptr;
    QVBoxLayout* layout = nullptr;
};

std::optional<PageContainer> createContainer(WndMain* window, const QString& caption)
{
    PageContainer container;
    if (!window->createTop(headerleft_xpm, int(sizeof headerleft_xpm), &container.layout,
                           &container.widget)) {
        return std::nullopt;
    }
    window->setTopCaption(caption);
    return container;
}

} // namespace

// The tree reports every change of its current item here: a click, the keyboard, a row
// of a navigation list, and the window's own turning back.
void WndMain::select(QTreeWidgetItem* item)
{
    if (!item || item == m_current)
        return;
    if (isBusy()) {
        // Reached from the event loop of a wait, by a timer such as a navigation row's:
        // the change is refused, and the tree shows the current page's item again once
        // the running switch or apply has finished.
        m_treeChangedWhileBusy = true;
        return;
    }
    // Nothing more can be loaded or sent: the tree follows the choices, the pane stays.
    if (getConnection()->m_lost)
        return;
    if (m_revert) {
        m_revert = false;
        turnTreeBack();
        return;
    }

    const QPointer<WndMain> self(this);
    m_switching = true;
    const bool leave = settleChangesBeforeSwitch();
    if (self && leave)
        switchTo(item);
    if (!self)
        return;
    m_switching = false;
    finishBusy();
}

// False when the current page is to stay.
bool WndMain::settleChangesBeforeSwitch()
{
    if (m_dbctrl.isEmpty())
        return true;

    const QPointer<WndMain> self(this);
    switch (askToSaveChanges(this, getConnection()->m_host)) {
    case UnsavedChangesAnswer::Save: {
        const ApplyOutcome outcome = runApply();
        if (!self)
            return false;
        switch (outcome) {
        case ApplyOutcome::Applied:
        case ApplyOutcome::ConnectionLost:
            // Sent, or nothing more can be sent on a lost connection: the switch goes on.
            return true;
        case ApplyOutcome::Withdrawn:
        case ApplyOutcome::Refused:
        case ApplyOutcome::Aborted:
            // The page stays on what was typed, still pending, and leaving it asks again;
            // another page would drop the statements (a configuration page hands in its own
            // list) or carry them unseen. A withdrawn apply has had them handed in again and
            // left m_revert up for the next change of the tree.
            turnTreeBack();
            return false;
        case ApplyOutcome::Abandoned:
            // The connection went during the wait: there is nothing to switch to.
            break;
        }
        return false;
    }
    case UnsavedChangesAnswer::Discard:
        // Silently: the new page starts with both buttons disabled anyway.
        m_dbctrl.discard();
        return true;
    case UnsavedChangesAnswer::Keep:
        break;
    }
    if (!self)
        return false;
    m_revert = true;
    turnTreeBack();
    m_dbctrl.update_again();
    return false;
}

void WndMain::switchTo(QTreeWidgetItem* item)
{
    m_current = item;

    if (item->parent() == m_itemLogs) {
        showLogView(item);
        return;
    }
    if (item == m_itemRoot) {
        auto* page = new WndDlgLogo(getRightPane(), getConnection(), &m_dbctrl, getDesktop());
        page->setAttribute(Qt::WA_DeleteOnClose);
        setRightPaneWindow(page, false);
        return;
    }
    if (item == m_itemChecklist) {
        showChecklist();
        return;
    }
    for (QTreeWidgetItem* group :
         {m_itemConfiguration, m_itemDefinitions, m_itemDomainSettings, m_itemStatus, m_itemLogs}) {
        if (item == group) {
            showNavigationList(item);
            return;
        }
    }
    if (showRegisteredPage(item))
        return;
    showEmptyPane();
}

void WndMain::showNavigationList(QTreeWidgetItem* group)
{
    const std::optional<PageContainer> container = createContainer(this, group->text(0));
    if (!container)
        return;
    auto* page = new WndNavigation(container->widget);
    page->setAttribute(Qt::WA_DeleteOnClose);

    QTreeWidgetItem* after = nullptr;
    if (group == m_itemLogs) {
        // Named as the server names them, in the server's order.
        const QPixmap icon = xpmIcon(log_xpm);
        for (const LogEntry& log : m_logs)
            after = page->addIcon(after, icon, log.name, QString(), log.item);
    } else {
        const QPixmap icon = xpmIcon(group == m_itemStatus ? status_xpm : section_xpm);
        for (int i = 0; i < group->childCount(); ++i) {
            QTreeWidgetItem* child = group->child(i);
            after = page->addIcon(after, icon, child->text(0), QString(), child);
        }
    }
    container->layout->addWidget(page, 1);
    setRightPaneWindow(container->widget, false);
}

void WndMain::showChecklist()
{
    const std::optional<PageContainer> container = createContainer(this, QString());
    if (!container)
        return;
    const QPointer<WndMain> self(this);
    const QPointer<QWidget> widget(container->widget);
    // Waits for the server: the page may be gone when it returns.
    const QString title = checklistTitle(getConnection(), container->widget);
    if (!self || !widget)
        return;
    setTopCaption(title);
    createChecklistBrowser(container->widget, container->layout);
    setRightPaneWindow(container->widget, false);
}

// False when item has no registered page.
bool WndMain::showRegisteredPage(QTreeWidgetItem* item)
{
    const std::pair<QTreeWidgetItem*, PageKind> pages[] = {
        {m_itemServices, PageKind::Services},
        {m_itemDomains, PageKind::Domains},
        {m_itemSmtp, PageKind::SmtpProperties},
        {m_itemAntivirus, PageKind::Antivirus},
        {m_itemAntispam, PageKind::Antispam},
        {m_itemBackup, PageKind::Backup},
        {m_itemInterCon, PageKind::InternetConnection},
        {m_itemScheduling, PageKind::Scheduling},
        {m_itemPop3, PageKind::Pop3Download},
        {m_itemEtrn, PageKind::EtrnDownload},
        {m_itemRemote, PageKind::RemoteAdministration},
        {m_itemAdvanced, PageKind::AdvancedOptions},
        {m_itemTimeRanges, PageKind::TimeRanges},
        {m_itemIpGroups, PageKind::IpAddressGroups},
        {m_itemTemplates, PageKind::UserTemplates},
        {m_itemUsers, PageKind::Users},
        {m_itemGroups, PageKind::Groups},
        {m_itemAliases, PageKind::Aliases},
        {m_itemQueue, PageKind::MailQueue},
        {m_itemConnections, PageKind::Connections},
    };
    const auto found = std::find_if(std::begin(pages), std::end(pages),
                                    [item](const auto& page) { return page.first == item; });
    if (found == std::end(pages) || !PageFactory::isRegistered(found->second))
        return false;
    const PageKind kind = found->second;

    const std::optional<PageContainer> container = createContainer(this, PageFactory::title(kind));
    if (!container)
        return true;
    const QPointer<WndMain> self(this);
    const QPointer<QWidget> widget(container->widget);
    // The page loads its data before it returns; the previous page stays in the pane
    // until then.
    QWidget* page = PageFactory::build(kind, container->widget, getConnection(), &m_dbctrl,
                                       getDesktop());
    if (!self || !widget)
        return true;
    if (page)
        container->layout->addWidget(page, 1);
    setRightPaneWindow(container->widget, PageFactory::entry(kind).showsBar);
    return true;
}

void WndMain::showEmptyPane()
{
    setRightPaneWindow(new QWidget(getRightPane()), false);
}

void WndMain::turnTreeBack()
{
    keepCurrentPage();
    // A mouse press selects the pressed item after it has made it current, so after the
    // press has been handled the current page's item is selected once more.
    QTimer::singleShot(0, this, [this] {
        QTreeWidget* tree = getTree();
        if (m_current && tree->currentItem() == m_current && !m_current->isSelected())
            tree->setCurrentItem(m_current);
    });
}

void WndMain::finishBusy()
{
    if (isBusy())
        return;
    if (m_treeChangedWhileBusy) {
        m_treeChangedWhileBusy = false;
        if (getTree()->currentItem() != m_current)
            turnTreeBack();
    }
    if (m_closeWhileBusy) {
        m_closeWhileBusy = false;
        // Not here: the switch or apply that ended is still on the stack.
        QTimer::singleShot(0, this, [this] { close(); });
    }
}
