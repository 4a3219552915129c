#pragma once

#include "tdlgpicker.h"

// The form of the "Add Group" picker. The slot only complains; DlgAddGroup implements it.
class TDlgAddGroup : public TDlgPicker
{
    Q_OBJECT

public:
    // A null name gives the object name "TDlgAddGroup".
    explicit TDlgAddGroup(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                   Qt::WindowFlags fl = {});
    ~TDlgAddGroup() override;

    QTreeWidget* m_listGroups;
};
