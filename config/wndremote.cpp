#include "wndremote.h"

#include "configcolumns.h"
#include "ipaccesslist.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

WndRemote::WndRemote(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop,
                     const char* name, Qt::WindowFlags flags)
    : TWndRemote(parent, name, flags)
    , ConfigPage(this, parent, conn, ctrl, desktop)
{
    if (!loadTables({{&m_remote, "administration", dbcol_remote, EditedRow},
                     {&m_acl, "ipaccesslist", dbcol_ipacl, ReadOnly}}))
        return;
    bindCell(m_remote, "NetEnabled", {m_chkEnable});
    bindCell(m_remote, "AdminAcl", {m_chkOnly, m_combo});
    start(ApplyAndReset);
}

WndRemote::~WndRemote() = default;

void WndRemote::updateData()
{
    m_chkEnable->setChecked(cellFlag(m_remote, "NetEnabled"));
    const QString group = cell(m_remote, "AdminAcl");
    m_chkOnly->setChecked(!group.isEmpty());
    fillGroupBox(&m_acl, m_combo, group);
}

void WndRemote::updateObject()
{
    const bool enabled = m_chkEnable->isChecked();
    m_chkOnly->setEnabled(enabled);
    m_combo->setEnabled(enabled && m_chkOnly->isChecked());
    m_btnEdit->setEnabled(enabled && m_chkOnly->isChecked());
}

void WndRemote::writeRows()
{
    writeFlag(m_remote, "NetEnabled", m_chkEnable->isChecked());
    writeCell(m_remote, "AdminAcl", m_chkOnly->isChecked() ? m_combo->currentText() : QString());
}

void WndRemote::slotChange()
{
    if (handChangeIn())
        updateObject();
}

void WndRemote::slotEdit()
{
    editAddressGroups(&m_acl, m_combo->currentText(),
                      {{m_combo, &m_remote, "AdminAcl"}});
}
