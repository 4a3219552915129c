#include "dlgservice.h"

#include "comboboxes.h"
#include "dbtable.h"
#include "dialogseam.h"
#include "dlgipgroup.h"
#include "ipaccesslist.h"
#include "numberfields.h"
#include "scopedqpointer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

DlgService::DlgService(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags,
                       DBConn* conn, Desktop* desktop, DBCtrl* ctrl, DBTable* acl)
    : TDlgService(parent, name, modal, flags)
    , m_parent(parent)
    , m_conn(conn)
    , m_desktop(desktop)
    , m_ctrl(ctrl)
    , m_groups(acl)
{
    m_editPort->setFocus();
    // What an integer validator up to 65535 takes while typing; it goes on also when the
    // groups failed to load, so that the field never takes text that is no number.
    NumberFields::acceptDigits(m_editPort, 65535);
    if (!m_groups->m_loaded)
        loadGroups();
}

DlgService::~DlgService() = default;

bool DlgService::loadGroups()
{
    return m_groups->select(m_parent, m_conn, "ipaccesslist", dbcol_ipacl, DBTable::ReportRefusal);
}

void DlgService::fillGroups()
{
    fillComboFromAcl(m_groups, m_comboAddressGroup, m_acl, false);
    if (!m_acl.isEmpty())
        ComboBoxes::setCurrentText(m_comboAddressGroup, m_acl);
}

void DlgService::setAcl(const QString& group)
{
    m_acl = group;
    const bool restricted = !group.isEmpty();
    m_chkOnlyAddressGroup->setChecked(restricted);
    slotOnlyAddressGroup(restricted);
    fillGroups();
}

void DlgService::slotOnlyAddressGroup(bool on)
{
    m_comboAddressGroup->setEnabled(on);
    m_btnEdit->setEnabled(on);
}

void DlgService::slotDefault()
{
    m_editPort->setText(m_defaultPort);
    m_editPort->setFocus();
}

void DlgService::slotEdit()
{
    const QPointer<DlgService> self(this);
    int result = QDialog::Rejected;
    {
        // The address-group dialog goes with this one should it be closed under it.
        const ScopedQPointer<DlgIPGroup> dialog(new DlgIPGroup(
            this, nullptr, true, {}, m_conn, m_desktop, m_comboAddressGroup->currentText()));
        if (dialog)
            result = Dialogs::exec(dialog.get());
    }
    if (!self)
        return;
    if (result != QDialog::Accepted) {
        m_groups->reset();
        return;
    }
    const bool loaded = loadGroups();
    if (self && loaded)
        fillGroups();
}

void DlgService::slotOK()
{
    if (m_editPort->text().isEmpty()) {
        const QPointer<DlgService> self(this);
        const Dialogs::Button answer = Dialogs::information(
            nullptr, tr("Ornel Corvane Administration"),
            tr("You should fill port number.\nDo you want to correct the problem?"),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (!self)
            return;
        if (answer != QMessageBox::No) {
            m_editPort->setFocus();
            return;
        }
    }
    accept();
}
