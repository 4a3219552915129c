#pragma once

#include "tdlgeditgroup.h"
#include "untouchedfields.h"

#include <memory>
#include <vector>

class DBConn;
class DBRow;
class DBTable;
class DBUserList;
class GroupMembers;

// The "Edit Group" dialog on one row of the groups page's "group" table: its description,
// its members and its rights to the administration; the name is shown only. OK writes the
// description and rights into the row; the members stay in m_listUsers for the page, which
// hands them to the membership lists. Nothing is sent from here.
//
// The page's users table is loaded the first time a dialog needs it. When that load fails,
// or the connection is lost at the group's membership query, the dialog is left unfilled
// and isReady() says so: the page then does not show it, since accepted it would empty the
// group. A membership the server refused to read opens as none read: the members added are
// additions, and the members the server holds are not dropped.
class DlgEditGroup : public TDlgEditGroup
{
    Q_OBJECT

public:
    DlgEditGroup(DBUserList* lists, DBRow* group, DBConn* conn, DBTable* users,
                 QWidget* parent = nullptr, const char* name = nullptr, bool modal = true,
                 Qt::WindowFlags fl = {});
    ~DlgEditGroup() override;

    bool isReady() const { return m_ready; }
    // Whether the row is one the server does not hold yet: then OK writes what every field
    // shows, also where the row holds nothing (UntouchedFields).
    void setNewRow(bool newRow) { m_untouched.setNewRow(newRow); }

    // Whether an entry of the list shows a user named `name` (exact comparison).
    bool existInList(const QString& name) const;
    // The user row of each entry of m_listUsers, in the list's order.
    std::vector<const DBRow*> memberRows() const;

public slots:
    void slotTextChanged() override;
    void slotAdd() override;
    void slotChanged() override;
    void slotOK() override;
    void slotRemove() override;

private:
    bool loadUsers(DBConn* conn, QWidget* parent);

    DBUserList* m_lists; // the page's, not owned
    DBRow* m_row;        // not owned
    DBTable* m_users;    // the page's, not owned
    std::unique_ptr<GroupMembers> m_members;
    UntouchedFields m_untouched; // the stored rights, kept while the buttons are left alone
    bool m_ready = false;
};
