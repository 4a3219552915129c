#pragma once

#include "recipientlookup.h"
#include "tdlgrule.h"

class DBConn;

// The "Sorting Rule" dialog. WndPop3 fills the two fields from a rule and writes them back
// when it is accepted; the dialog asks before it lets an empty field through, and before a
// recipient that is no user, alias or group of the current domain, unless it carries an
// at sign.
class DlgRule : public TDlgRule
{
    Q_OBJECT

public:
    // The tables belong to the caller, all four given; those not loaded yet are read here,
    // in the order domains, aliases, users, groups, up to the first failure.
    DlgRule(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl, DBConn* conn,
            DBTable* domains, DBTable* users, DBTable* groups, DBTable* aliases);

    // Whether the recipient names a user, an alias or (in square brackets) a group of the
    // domain; letter case counts.
    bool isLocalRecipient(const QString& text, const QString& domain) const;

public slots:
    void slotOK() override;
    // "Find User" for the recipient, users and groups; cancelled, the field stays.
    void slotSelect() override;

private:
    DBConn* m_conn;
    RecipientTables m_tables;
};
