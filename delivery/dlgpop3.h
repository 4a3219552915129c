#pragma once

#include "recipientlookup.h"
#include "tdlgpop3.h"
#include "untouchedfields.h"

class DBConn;

// The "POP3 Account" dialog. WndPop3 fills its widgets from an account and writes them
// back when it is accepted; the dialog keeps the delivery and SSL widgets consistent,
// proposes the standard port and checks the input on OK: server and user must be given,
// the port and the message count are number fields written as typed (NumberFields: only a
// count typed beyond what its column holds keeps the dialog open; one the server holds so
// goes back as it is), and a delivery address must be
// a user, alias or group of the current domain or carry an at sign, unless the
// administrator insists.
class DlgPop3 : public TDlgPop3
{
    Q_OBJECT

public:
    // The tables belong to the caller; those given and not loaded yet are read here, in
    // the order domains, users, groups, aliases, up to the first failure.
    DlgPop3(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl, DBConn* conn,
            DBTable* domains, DBTable* users, DBTable* groups, DBTable* aliases);

    // Whether the address names a user, an alias or (in square brackets) a group of the
    // domain; letter case counts.
    bool isLocalRecipient(const QString& text, const QString& domain) const;

    // What the account stored for the fields that show it only as well as they can (the
    // authentication and SSL choices, the delivery) and for the message count, remembered by
    // whoever fills the dialog.
    UntouchedFields m_untouched;

public slots:
    void slotSSLActivated(int index) override;
    // The standard port of the SSL choice: 995 for a special port, else 110.
    void slotDefault() override;
    void slotDeliverToggled(bool on) override;
    void slotOK() override;
    // "Find User" for the address, users only; cancelled, the field stays.
    void slotSelect() override;
    void slotSortingRulesToggled(bool on) override;
    void slotUseSSL(bool on) override;

private:
    bool confirmAddress();

    DBConn* m_conn;
    RecipientTables m_tables;
};
