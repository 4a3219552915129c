#include "tdlgaddgroup.h"

TDlgAddGroup::TDlgAddGroup(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : TDlgPicker({"TDlgAddGroup", tr("Add Group"), "m_listGroups", {tr("Name"), tr("Description")}}, parent, name, modal, fl)
    , m_listGroups(list())
{
}

TDlgAddGroup::~TDlgAddGroup() = default;
