#pragma once

#include "twizaddgroup.h"

#include <memory>
#include <vector>

class DBConn;
class DBRow;
class DBTable;
class GroupMembers;

// The "Add Group" wizard on a new row of the groups page's "group" table: "&Finish", on any
// page once there is a name, writes the name, description and rights into the row; the
// members stay in m_listUsers for the page, which hands them to the membership lists. It
// checks no name against other groups and sends nothing: the page does both.
//
// The page's users table is loaded here the first time a wizard needs it; when that load
// fails the wizard still runs, and its picker offers no one.
class WizAddGroup : public TWizAddGroup
{
    Q_OBJECT

public:
    WizAddGroup(DBRow* group, DBConn* conn, DBTable* users, QWidget* parent = nullptr,
                const char* name = nullptr, bool modal = true, Qt::WindowFlags f = {});
    ~WizAddGroup() override;

    void accept() override;

    // Whether that very row (not merely a user of its name) is among the members.
    bool existInList(const DBRow* row) const;
    // The user row of each entry of m_listUsers, in the list's order; the users table's.
    std::vector<const DBRow*> memberRows() const;

public slots:
    void slotChange() override;
    void slotAdd() override;
    void slotChangePage(const QString& title) override;
    void slotChangeUser() override;
    void slotRemove() override;

protected slots:
    void next() override;
    void back() override;

private:
    DBRow* m_row;     // the page's, not owned
    DBTable* m_users; // the page's, not owned
    int m_page = 0;   // 0 General, 1 Users, 2 Rights
    std::unique_ptr<GroupMembers> m_members;
};
