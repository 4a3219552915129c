#pragma once

#include "tdlgetrn.h"

// The "ETRN Download" dialog. WndEtrn fills its fields from an entry and writes them back
// when it is accepted; the dialog itself only keeps the user and password fields enabled
// with "&Authentication is required" and refuses an empty server or domain list unless the
// administrator insists.
class DlgEtrn : public TDlgEtrn
{
    Q_OBJECT

public:
    DlgEtrn(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
            Qt::WindowFlags fl = {});

public slots:
    // Enables or disables the user and password fields; their texts stay.
    void slotAuthToggled(bool on) override;
    // Accepts, unless the server or the domain list is empty and the administrator chooses
    // to correct it.
    void slotOK() override;
};
