#include "dlgaddgroup.h"

#include "pickerselection.h"

DlgAddGroup::DlgAddGroup(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : TDlgAddGroup(parent, name, modal, fl)
{
}

DlgAddGroup::~DlgAddGroup() = default;

void DlgAddGroup::slotSelect()
{
    enableOkBySelection(list(), m_btnOK);
}
