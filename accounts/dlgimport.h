#pragma once

#include "tdlgimport.h"

// The first step of the import of users: the NT domain to list. The caller reads the
// domain field once the dialog is accepted.
class DlgImport : public TDlgImport
{
    Q_OBJECT

public:
    explicit DlgImport(QWidget* parent = nullptr, const char* name = nullptr, bool modal = true,
                       Qt::WindowFlags f = {});
    ~DlgImport() override;
};
