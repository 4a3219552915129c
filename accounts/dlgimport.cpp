#include "dlgimport.h"

#include <QLineEdit>

DlgImport::DlgImport(QWidget* parent, const char* name, bool modal, Qt::WindowFlags f)
    : TDlgImport(parent, name, modal, f)
{
    m_editDomain->setFocus();
}

DlgImport::~DlgImport() = default;
