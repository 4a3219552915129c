#include "tdlgadduser.h"

TDlgAddUser::TDlgAddUser(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : TDlgPicker({"TDlgAddUser", tr("Add User"), "m_listUsers", {tr("Name"), tr("Full Name"), tr("Description")}}, parent, name, modal, fl)
    , m_listUsers(list())
{
}

TDlgAddUser::~TDlgAddUser() = default;
