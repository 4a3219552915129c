#pragma once

#include "tdlgedituser.h"
#include "untouchedfields.h"
#include "webmailfields.h"

#include <memory>

class AccountFields;
class DBConn;
class DBRow;
class DBTable;
class WndUser;

// The "Edit User" dialog on one row of the users page's "user" table. Only OK writes into
// the row; the name and domain are never changed. The page's group and language tables
// are loaded here the first time a dialog needs them; when either load fails the dialog is
// left unfilled and isReady() says so: the page then does not show it.
class DlgEditUser : public TDlgEditUser
{
    Q_OBJECT

public:
    DlgEditUser(DBRow* row, DBConn* conn, DBTable* groups, DBTable* languages, WndUser* parent,
                const char* name = nullptr, bool modal = true, Qt::WindowFlags fl = {});
    ~DlgEditUser() override;

    bool isReady() const { return m_ready; }
    // Whether the row is one the server does not hold yet: then OK writes what every field
    // shows, also where the row holds nothing (UntouchedFields).
    void setNewRow(bool newRow) { m_untouched.setNewRow(newRow); }

public slots:
    void slotTextChanged() override;
    void slotAdd() override;
    void slotChanged() override;
    void slotOK() override;
    void slotRemove() override;

private:
    bool loadTables(DBConn* conn);
    void fillFields();
    WebMailWidgets webMailWidgets() const;
    bool pinAccepted(const QString& pin) const;
    void writeFields();

    DBRow* m_row;          // not owned
    DBTable* m_groups;     // the page's, not owned
    DBTable* m_languages;  // the page's, not owned
    WndUser* m_page;
    // What the row stored for the fields that show it only as well as they can; declared
    // before the fields that refer to it.
    UntouchedFields m_untouched;
    std::unique_ptr<AccountFields> m_fields;
    bool m_ready = false;
};
