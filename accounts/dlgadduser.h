#pragma once

#include "tdlgadduser.h"

// Picks users: the caller fills the list with the rows it offers and, once the picker is
// accepted, reads the rows of the selected entries. OK needs at least one selected row.
class DlgAddUser : public TDlgAddUser
{
    Q_OBJECT

public:
    explicit DlgAddUser(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                  Qt::WindowFlags fl = {});
    ~DlgAddUser() override;

public slots:
    void slotSelect() override;
};
