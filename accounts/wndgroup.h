#pragma once

#include "dbtable.h"
#include "listpage.h"
#include "twndgroup.h"

#include <QStringList>

#include <memory>
#include <vector>

class DBConn;
class DBCtrl;
class DBUserList;
class Desktop;

// The "Groups" page: the groups of one local domain at a time, chosen in the domain box
// shared with the users and aliases pages. A group's members are not part of its row but
// of each user's list of groups, so beside its group table the page keeps the membership
// lists of the groups it touched and the statements that take a removed group out of its
// users' lists. All three wait in the main window's pending list for Apply, in that order:
// removals, the group table's changes, the membership changes; of an apply that stopped
// part-way, each of the three stores what the server carried out.
class WndGroup : public TWndGroup, public ListPage
{
    Q_OBJECT

public:
    WndGroup(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop,
             const char* name = nullptr, Qt::WindowFlags fl = {});
    ~WndGroup() override;

    // Runs the edit-group dialog on a row of the group table until it is cancelled or the
    // row's key is unique; the members of the dialog that passed the check become the
    // group's. True when the edit was kept.
    bool edit(DBRow* group);

    // The removals, then the group table's difference, then the membership statements.
    void updateQuery() override;

    DBTable m_groups;
    DBTable m_users;   // loaded by the first dialog that needs it
    DBTable m_domains;
    std::unique_ptr<DBUserList> m_lists;
    QStringList m_removals;

public slots:
    void slotAdd() override;
    void slotCols() override;
    void slotDomainChanged(const QString& text) override;
    void slotEdit() override;
    void slotRemove() override;
    void slotSelectionChanged() override;

protected:
    void fillItems(int list) override;
    DBRow* rowOf(int list, QTreeWidgetItem* item) const override;
    void showItem(int list, QTreeWidgetItem* item) override;
    bool runEditDialog(int list, DBRow* row) override;
    void storeCarriedOut(CarriedOut& done) override;
    void afterApply() override;
    void afterReset() override;

private:
    // The users table, for the dialogs; false when it did not load. The page may be gone
    // afterwards.
    bool loadUsers();
    // Makes the group active in the membership lists and gives it exactly these members.
    bool setMembers(const QString& group, const std::vector<const DBRow*>& members);
    QString removalStatement(const QString& group) const;
    void forgetPending();

    // The members of the last dialog accepted in an edit.
    std::vector<std::unique_ptr<DBRow>> m_editedMembers;
};
