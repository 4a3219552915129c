#include "wndgroup.h"

#include "accountcolumns.h"
#include "accountfields.h"
#include "accounttexts.h"
#include "carriedout.h"
#include "dbctrl.h"
#include "dbrow.h"
#include "dbuserlist.h"
#include "dialogseam.h"
#include "dlgeditgroup.h"
#include "domainchoice.h"
#include "escape.h"
#include "globaldata.h"
#include "qgroupitem.h"
#include "scopedqpointer.h"
#include "wizaddgroup.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>

using AccountTexts::cell;

WndGroup::WndGroup(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop,
                   const char* name, Qt::WindowFlags fl)
    : TWndGroup(parent, name, fl)
    , ListPage(this, conn, ctrl, desktop)
    , m_lists(std::make_unique<DBUserList>(conn))
{
    addList({m_list, QStringLiteral("group"), 2, m_btnEdit, m_btnRemove, &m_groups,
             tr("This group already exists!")});
    QGroupItem::addColumns(cols());
    loadLayouts();
    if (!loadTables({{&m_groups, "group", dbcol_group}, {&m_domains, "domain", dbcol_domain}}))
        return;
    finishEditablePage();
}

WndGroup::~WndGroup() = default;

void WndGroup::fillItems(int)
{
    DomainChoice::fill(m_comboDomain, m_domains);
    const QString& current = globalData.currentDomain;
    QList<QTreeWidgetItem*> items;
    for (const auto& row : m_groups.m_rows) {
        if (cell(row.get(), "domain") != current)
            continue;
        auto* item = new QGroupItem(nullptr, row.get(), &cols());
        item->show();
        items.append(item);
    }
    ListPage::layout().addRows(items);
}

DBRow* WndGroup::rowOf(int, QTreeWidgetItem* item) const
{
    return static_cast<QGroupItem*>(item)->row();
}

void WndGroup::showItem(int, QTreeWidgetItem* item)
{
    static_cast<QGroupItem*>(item)->show();
}

bool WndGroup::loadUsers()
{
    return m_users.m_loaded
        || m_users.select(this, m_conn, "user", dbcol_user_min, DBTable::ReportRefusal);
}

bool WndGroup::runEditDialog(int list, DBRow* row)
{
    // What the dialog would wait for is read here first: the page may be closed during a
    // wait, and a dialog built as its child would go with it inside its own constructor.
    // A membership the server refused to read opens as none read: what the dialog adds
    // becomes additions and no member the server holds is dropped. A lost connection, which
    // takes the held rows with it, opens nothing.
    const QPointer<QWidget> self(this);
    if (!loadUsers() || !self
        || !m_lists->setActiveGroup(cell(row, "name"), globalData.currentDomain, &m_users) || !self
        || heldRowsWent())
        return false;
    ScopedQPointer<DlgEditGroup> dialog(
        new DlgEditGroup(m_lists.get(), row, m_conn, &m_users, this, nullptr, true, {}));
    if (!dialog || !dialog->isReady())
        return false;
    dialog->setNewRow(isNewRow(list, row));
    if (Dialogs::exec(dialog.get()) != QDialog::Accepted || !dialog)
        return false;
    // Kept aside until the edit loop has checked the key: a dialog refused as a duplicate
    // is followed by another, and only the one that passes gives the members.
    m_editedMembers.clear();
    for (const DBRow* member : dialog->memberRows())
        m_editedMembers.push_back(std::make_unique<DBRow>(*member));
    return true;
}

bool WndGroup::edit(DBRow* group)
{
    // Held over the membership as well, which may have to be read first.
    const RowHold hold = holdRows();
    m_editedMembers.clear();
    if (!ListPage::edit(0, group))
        return false;
    std::vector<const DBRow*> members;
    members.reserve(m_editedMembers.size());
    for (const auto& member : m_editedMembers)
        members.push_back(member.get());
    const bool stored = setMembers(cell(group, "name"), members);
    if (hold.rowsWent())
        return false;
    m_editedMembers.clear();
    return stored;
}

bool WndGroup::setMembers(const QString& group, const std::vector<const DBRow*>& members)
{
    if (!m_lists->setActiveGroup(group, globalData.currentDomain, &m_users))
        return false;
    m_lists->clearUsers();
    for (const DBRow* member : members)
        m_lists->append(member);
    return true;
}

void WndGroup::slotAdd()
{
    if (!canEdit())
        return;
    // Read before the wizard is built, as for the edit dialog. Without the users (the
    // failure has been reported) the wizard would ask for them again in its constructor.
    const QPointer<QWidget> self(this);
    if (!loadUsers() || !self)
        return;
    // The new row is the page's until the members are stored.
    const RowHold hold = holdRows();
    DBRow* row = m_groups.append();
    setCell(row, "domain", globalData.currentDomain);
    ScopedQPointer<WizAddGroup> wizard(
        new WizAddGroup(row, m_conn, &m_users, this, nullptr, true, {}));
    if (hold.rowsWent())
        return;
    const bool accepted = wizard && Dialogs::exec(wizard.get()) == QDialog::Accepted;
    if (hold.rowsWent())
        return;
    if (!accepted || !wizard) {
        m_groups.remove(row);
        return;
    }
    // A name another group of the domain has (in any letter case) is refused before the
    // membership lists are touched, so the existing group's members stay as they are.
    if (!m_groups.check_primary_key(row, nullptr, true)) {
        m_groups.remove(row);
        Dialogs::warning(this, caption(), tr("This group already exists!"), QMessageBox::Ok);
        return;
    }
    // A membership the server refused to read keeps the group as the administrator made it,
    // the wizard's users as additions; a lost connection takes the row with it.
    setMembers(wizard->m_editName->text(), wizard->memberRows());
    if (hold.rowsWent())
        return;
    showItem(0, new QGroupItem(m_list, row, &cols()));
    updateQuery();
}

// One list, as every page hands its statements in (ListPage::updateQuery): Apply and Reset
// stay on while something is pending.
void WndGroup::updateQuery()
{
    if (!m_ctrl)
        return;
    m_ctrl->set(m_removals + *m_groups.diff(true) + *m_lists->getSQL(), false);
}

QString WndGroup::removalStatement(const QString& group) const
{
    return QStringLiteral("UPDATE user SET groups-=\"%1\" WHERE Domain = \"%2\"")
        .arg(escape(group), escape(globalData.currentDomain));
}

void WndGroup::forgetPending()
{
    m_lists->clear();
    m_removals.clear();
}

void WndGroup::storeCarriedOut(CarriedOut& done)
{
    m_removals.removeIf([&done](const QString& removal) { return done.take(removal); });
    ListPage::storeCarriedOut(done);
    m_lists->storeCarriedOut(done);
}

void WndGroup::afterApply()
{
    forgetPending();
}

void WndGroup::afterReset()
{
    forgetPending();
    ListPage::afterReset();
}

void WndGroup::slotCols()
{
    modifyColumns();
}

void WndGroup::slotDomainChanged(const QString& text)
{
    globalData.currentDomain = DomainChoice::chosen(m_domains, text);
    updateView();
}

void WndGroup::slotEdit()
{
    QTreeWidgetItem* item = itemToEdit();
    if (!item)
        return;
    const QPointer<QWidget> self(this);
    if (!edit(rowOf(0, item)) || !self)
        return;
    showItem(0, item);
    updateQuery();
}

void WndGroup::slotRemove()
{
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_list->topLevelItem(i);
        if (!item->isSelected())
            continue;
        const QString group = cell(rowOf(0, item), "name");
        m_removals.append(removalStatement(group));
        // Its pending additions would put the deleted group back into its users' lists.
        m_lists->removeGroup(group, globalData.currentDomain);
    }
    removeSelected();
}

void WndGroup::slotSelectionChanged()
{
    updateButtons();
}
