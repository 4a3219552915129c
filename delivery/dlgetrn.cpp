#include "dlgetrn.h"

#include "dialogseam.h"

#include <QLineEdit>

DlgEtrn::DlgEtrn(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : TDlgEtrn(parent, name, modal, fl)
{
    m_editServer->setFocus();
}

void DlgEtrn::slotAuthToggled(bool on)
{
    m_editUser->setEnabled(on);
    m_editPass->setEnabled(on);
}

void DlgEtrn::slotOK()
{
    if (m_editServer->text().isEmpty() || m_editDomain->text().isEmpty()) {
        // Without a parent: the window system places it, not over the dialog.
        const Dialogs::Button answer = Dialogs::information(
            nullptr, tr("Ornel Corvane Administration"),
            tr("You should fill server and domain name.\nDo you want to correct the problem?"),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer != QMessageBox::No)
            return;
    }
    accept();
}
