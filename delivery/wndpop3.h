#pragma once

#include "dbtable.h"
#include "listpage.h"
#include "twndpop3.h"

class DBConn;
class DBCtrl;
class Desktop;
class DlgPop3;

// The "POP3 Download" page: the remote mailboxes the server collects mail from on
// "Accounts", and the rules that sort collected mail to local recipients on "Sorting
// Rules". The context menu acts on the tab that is showing. The page keeps the domains,
// users, groups and aliases its dialogs look recipients up in, read by the first dialog
// that needs them. The pending list holds the account statements, then the rule
// statements.
class WndPop3 : public TWndPop3, public ListPage
{
    Q_OBJECT

public:
    WndPop3(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop, const char* name = nullptr,
            Qt::WindowFlags fl = {});
    ~WndPop3() override;

    // What the password field shows for a stored password; left so, the password stays.
    static const char* const PasswordPlaceholder; // "PlainFillText"

    enum List { Accounts, Rules };

    DBTable m_tblPop3;
    DBTable m_tblDomain;
    DBTable m_tblUser;
    DBTable m_tblGroup;
    DBTable m_tblSort;
    DBTable m_tblAlias;

public slots:
    void slotAdd() override;
    void slotAdd2() override;
    void slotCols() override;
    void slotCols2() override;
    void slotEdit() override;
    void slotEdit2() override;
    void slotRemove() override;
    void slotRemove2() override;
    void slotSelectionChanged() override;
    void slotSelectionChanged2() override;

protected:
    void fillItems(int list) override;
    DBRow* rowOf(int list, QTreeWidgetItem* item) const override;
    QTreeWidgetItem* newItem(int list, DBRow* row) override;
    void showItem(int list, QTreeWidgetItem* item) override;
    bool runEditDialog(int list, DBRow* row) override;
    int currentList() const override;

private:
    bool runAccountDialog(DBRow* row);
    bool runRuleDialog(DBRow* row);
    static void fillAccountDialog(DlgPop3* dialog, const DBRow* row);
    static void readAccountDialog(const DlgPop3* dialog, DBRow* row);
};
