#include "groupmembers.h"

#include "accounttexts.h"
#include "dbrow.h"
#include "dbtable.h"
#include "dbuserlist.h"
#include "dialogseam.h"
#include "dlgadduser.h"
#include "globaldata.h"
#include "quseritem.h"
#include "scopedqpointer.h"

#include <QPushButton>
#include <QSet>
#include <QTreeWidget>

using AccountTexts::cell;

namespace {

// Ties the model to the view so that the short form's values land under the form's
// headers, and empties the view. Rebuilt, the view sorts by name again.
void bindMemberColumns(Cols& cols, QTreeWidget* view)
{
    cols.view = view;
    cols.clearView();
    cols.fillView();
    view->sortByColumn(0, Qt::AscendingOrder);
}

// Puts the items in all at once and sorts once: a group may have thousands of members,
// and a picker offers a whole domain.
void addSorted(QTreeWidget* view, const QList<QTreeWidgetItem*>& items)
{
    const bool sorting = view->isSortingEnabled();
    view->setSortingEnabled(false);
    view->addTopLevelItems(items);
    view->setSortingEnabled(sorting);
}

QUserItem* userItem(const DBRow* row, Cols* cols)
{
    auto* item = new QUserItem(nullptr, const_cast<DBRow*>(row), cols);
    item->show_min();
    return item;
}

} // namespace

GroupMembers::GroupMembers(QTreeWidget* list, QPushButton* removeButton, const DBTable* users,
                           QWidget* dialog)
    : m_list(list)
    , m_removeButton(removeButton)
    , m_users(users)
    , m_dialog(dialog)
{
    QUserItem::addMemberColumns(m_memberCols);
    QUserItem::addMemberColumns(m_pickerCols);
    bindMemberColumns(m_memberCols, m_list);
}

GroupMembers::~GroupMembers()
{
    // The entries point at rows this object owns: they go first.
    m_list->clear();
}

void GroupMembers::showMembers(const DBUserList& lists)
{
    QList<QTreeWidgetItem*> items;
    const int count = lists.users();
    items.reserve(count);
    m_ownRows.reserve(m_ownRows.size() + size_t(count));
    for (int i = 0; i < count; ++i) {
        m_ownRows.push_back(lists.getUserFromGroup(i));
        items.append(userItem(m_ownRows.back().get(), &m_memberCols));
    }
    addSorted(m_list, items);
}

std::vector<const DBRow*> GroupMembers::rows() const
{
    std::vector<const DBRow*> rows;
    rows.reserve(size_t(m_list->topLevelItemCount()));
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        rows.push_back(static_cast<QUserItem*>(m_list->topLevelItem(i))->row());
    return rows;
}

void GroupMembers::addFromPicker(Listed listed)
{
    QSet<QString> names;
    QSet<const DBRow*> listedRows;
    for (const DBRow* row : rows()) {
        if (listed == Listed::ByName)
            names.insert(cell(row, "name"));
        else
            listedRows.insert(row);
    }
    ScopedQPointer<DlgAddUser> picker(new DlgAddUser(m_dialog, nullptr, false, {}));
    bindMemberColumns(m_pickerCols, picker->m_listUsers);
    m_pickerCols.view = nullptr; // the picker goes before the model
    QList<QTreeWidgetItem*> offered;
    for (const auto& user : m_users->m_rows) {
        const bool isListed = listed == Listed::ByName ? names.contains(cell(user.get(), "name"))
                                                       : listedRows.contains(user.get());
        if (!isListed && cell(user.get(), "domain") == globalData.currentDomain)
            offered.append(userItem(user.get(), &m_pickerCols));
    }
    addSorted(picker->m_listUsers, offered);
    if (Dialogs::exec(picker.get()) != QDialog::Accepted || !picker)
        return;
    QList<QTreeWidgetItem*> chosen;
    QTreeWidget* list = picker->m_listUsers;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list->topLevelItem(i);
        if (item->isSelected())
            chosen.append(userItem(static_cast<QUserItem*>(item)->row(), &m_pickerCols));
    }
    addSorted(m_list, chosen);
}

void GroupMembers::removeSelected()
{
    qDeleteAll(m_list->selectedItems());
}

void GroupMembers::updateRemoveButton()
{
    m_removeButton->setEnabled(!m_list->selectedItems().isEmpty());
}
