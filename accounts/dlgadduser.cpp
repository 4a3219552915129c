#include "dlgadduser.h"

#include "pickerselection.h"

DlgAddUser::DlgAddUser(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : TDlgAddUser(parent, name, modal, fl)
{
}

DlgAddUser::~DlgAddUser() = default;

void DlgAddUser::slotSelect()
{
    enableOkBySelection(list(), m_btnOK);
}
