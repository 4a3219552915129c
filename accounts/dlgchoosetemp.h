#pragma once

#include "tdlgchoosetemp.h"

class DBRow;
class DBTable;

// "User Templates": which template a new user of the users page's domain starts from.
// "Default" (no template) comes first and is selected; then the templates of no domain
// and those of the page's domain, by name. The tables are the caller's and outlive the
// dialog.
class DlgChooseTemp : public TDlgChooseTemp
{
    Q_OBJECT

public:
    // `domain` is the page's domain, empty for the primary domain.
    DlgChooseTemp(DBTable* templates, DBTable* domains, QString domain, QWidget* parent = nullptr,
                  const char* name = nullptr, bool modal = true, Qt::WindowFlags flags = {});
    ~DlgChooseTemp() override;

    // The template of the selected entry; null for "Default".
    DBRow* chosenTemplate() const;

public slots:
    void slotOK() override;
};
