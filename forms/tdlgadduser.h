#pragma once

#include "tdlgpicker.h"

// The form of the "Add User" picker. The slot only complains; DlgAddUser implements it.
class TDlgAddUser : public TDlgPicker
{
    Q_OBJECT

public:
    // A null name gives the object name "TDlgAddUser".
    explicit TDlgAddUser(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                   Qt::WindowFlags fl = {});
    ~TDlgAddUser() override;

    QTreeWidget* m_listUsers;
};
