#pragma once

#include "tdlgaddgroup.h"

// Picks groups: the caller fills the list with the rows it offers and, once the picker is
// accepted, reads the rows of the selected entries. OK needs at least one selected row.
class DlgAddGroup : public TDlgAddGroup
{
    Q_OBJECT

public:
    explicit DlgAddGroup(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                  Qt::WindowFlags fl = {});
    ~DlgAddGroup() override;

public slots:
    void slotSelect() override;
};
