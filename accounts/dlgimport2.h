#pragma once

#include "tdlgimport2.h"

#include <QList>

class DBRow;
class DBTable;

// The second step of the import of users: the accounts the NT domain holds, each ticked,
// and the template to apply ("Default" first: none). Both tables are the caller's and
// outlive the dialog.
class DlgImport2 : public TDlgImport2
{
    Q_OBJECT

public:
    DlgImport2(QWidget* parent, DBTable* users, DBTable* templates, const char* name = nullptr,
               bool modal = true, Qt::WindowFlags f = {});
    ~DlgImport2() override;

    // The accounts ticked, in the order the list shows them.
    QList<DBRow*> tickedAccounts() const;
    // The template chosen, by its place in the box; null for "Default", whatever a
    // template is called.
    DBRow* chosenTemplate() const;

private:
    DBTable* m_users;     // the import's answer
    DBTable* m_templates; // the page's
};
