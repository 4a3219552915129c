#pragma once

#include "twizadduser.h"

#include "untouchedfields.h"

#include <memory>

class AccountFields;
class DBConn;
class DBRow;
class DBTable;
class WndUser;

// The "Add User" wizard on a new row of the users page's "user" table: it starts from the
// values the row holds (a template's, or none), and "&Finish", on any page, writes the
// name, full name, description, password, authentication type, enabling, groups, rights
// and quota into the row. It checks no name against other users: the page does.
//
// The page's group table is loaded here the first time a wizard needs it; when that load
// fails the wizard still opens, with nothing filled from the row.
class WizAddUser : public TWizAddUser
{
    Q_OBJECT

public:
    WizAddUser(DBRow* row, DBConn* conn, DBTable* groups, WndUser* parent,
               const char* name = nullptr, bool modal = true, Qt::WindowFlags f = {});
    ~WizAddUser() override;

    void accept() override;

    // Whether the groups list shows a group of that row's name (exact, any domain).
    bool existInList(DBRow* group) const;
    // The description of the first group of the table of that name; any domain.
    QString FindDesc(const QString& name) const;

public slots:
    void slotAdd() override;
    void slotChange() override;
    void slotChangeGroup() override;
    void slotChangePage(const QString& title) override;
    void slotRemove() override;

private:
    void fillFromRow();
    void writeGroups();
    void writeRights();

    DBRow* m_row;       // the page's, not owned
    DBTable* m_groups;  // the page's, not owned
    WndUser* m_wndUser;
    std::unique_ptr<AccountFields> m_fields;
    // A template's quota the fields cannot show, kept while they are left alone.
    UntouchedFields m_untouched;
};
