#include "wndbackup.h"

#include "backuppreview.h"
#include "configcolumns.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

WndBackup::WndBackup(QWidget* parent, DBConn* conn, DBCtrl* ctrl, const char* name,
                     Qt::WindowFlags f)
    : TWndBackup(parent, name, f)
    , ConfigPage(this, parent, conn, ctrl)
    , m_today([] { return QDate::currentDate(); })
{
    if (!loadTables({{&m_backup, "backup", dbcol_backup, EditedRow}}))
        return;
    bindCell(m_backup, "Enabled", {m_chkEnable});
    bindCell(m_backup, "Mode", {m_rbtnOnly, m_rbtnBackup});
    bindCell(m_backup, "Remote", {m_chkRemote});
    bindCell(m_backup, "Local", {m_chkLocal});
    bindCell(m_backup, "Address", {m_editRemote});
    bindCell(m_backup, "Format", {m_editFormat});
    bindCell(m_backup, "Admin", {m_editFolder});
    start(AllSignals);
}

WndBackup::~WndBackup() = default;

void WndBackup::setClock(std::function<QDate()> today)
{
    m_today = std::move(today);
    updatePreview();
}

void WndBackup::updatePreview()
{
    m_editView->setText(BackupPreview::folderName(m_editFormat->text(), m_today()));
}

void WndBackup::updateData()
{
    m_chkEnable->setChecked(cellFlag(m_backup, "Enabled"));
    if (cellFlag(m_backup, "Mode"))
        m_rbtnOnly->setChecked(true);
    else
        m_rbtnBackup->setChecked(true);
    m_chkRemote->setChecked(cellFlag(m_backup, "Remote"));
    m_editRemote->setText(cell(m_backup, "Address"));
    m_chkLocal->setChecked(cellFlag(m_backup, "Local"));
    m_editFormat->setText(cell(m_backup, "Format"));
    m_editFolder->setText(cell(m_backup, "Admin"));
}

void WndBackup::updateObject()
{
    const bool enabled = m_chkEnable->isChecked();
    for (QWidget* widget : {static_cast<QWidget*>(m_rbtnBackup), static_cast<QWidget*>(m_rbtnOnly),
                            static_cast<QWidget*>(m_chkRemote), static_cast<QWidget*>(m_chkLocal)})
        widget->setEnabled(enabled);
    m_editRemote->setEnabled(enabled && m_chkRemote->isChecked());
    m_editFormat->setEnabled(enabled && m_chkLocal->isChecked());
    m_editFolder->setEnabled(enabled && m_chkLocal->isChecked());
}

void WndBackup::writeRows()
{
    writeFlag(m_backup, "Enabled", m_chkEnable->isChecked());
    writeFlag(m_backup, "Mode", m_rbtnOnly->isChecked());
    writeFlag(m_backup, "Remote", m_chkRemote->isChecked());
    writeFlag(m_backup, "Local", m_chkLocal->isChecked());
    writeCell(m_backup, "Address", m_editRemote->text());
    writeCell(m_backup, "Format", m_editFormat->text());
    writeCell(m_backup, "Admin", m_editFolder->text());
}

void WndBackup::slotChanged()
{
    if (isReady()) {
        updateObject();
        handChangeIn();
    }
    updatePreview();
}

// A failed check ends the checks whatever the answer: after No the apply goes ahead.
void WndBackup::slotBeforeApply()
{
    if (!m_chkEnable->isChecked())
        return;
    const bool remote = m_chkRemote->isChecked();
    const bool local = m_chkLocal->isChecked();
    if (remote && m_editRemote->text().isEmpty()) {
        askToCorrect(tr("You should fill remote address.\nDo you want to correct the problem?"),
                     m_editRemote);
    } else if (local && m_editFormat->text().isEmpty()) {
        askToCorrect(tr("You should fill folder name format.\nDo you want to correct the problem?"),
                     m_editFormat);
    } else if (local && m_editFolder->text().isEmpty()) {
        askToCorrect(
            tr("You should fill backup folder administrator.\nDo you want to correct the problem?"),
            m_editFolder);
    }
}

void WndBackup::slotSelect()
{
    QString chosen;
    if (pickAccount(&chosen))
        m_editFolder->setText(chosen);
}
