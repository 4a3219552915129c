#include "wizadduser.h"

#include "accountcolumns.h"
#include "accountfields.h"
#include "accounttexts.h"
#include "accountitem.h"
#include "dbrow.h"
#include "dbtable.h"
#include "wnduser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

using AccountTexts::cell;
using AccountTexts::wholeNumber;

WizAddUser::WizAddUser(DBRow* row, DBConn* conn, DBTable* groups, WndUser* parent,
                       const char* name, bool modal, Qt::WindowFlags f)
    : TWizAddUser(parent, name, modal, f)
    , m_row(row)
    , m_groups(groups)
    , m_wndUser(parent)
{
    // A user the wizard makes is new: its insert carries what every field shows.
    m_untouched.setNewRow(true);
    m_fields = std::make_unique<AccountFields>(
        AccountWidgets{m_listGroups, m_btnAdd, m_btnRemove, m_rbtnNoAcc, m_rbtnViewLogs,
                       m_rbtnFullAcc, m_editDiskSpace, m_comboKB, m_editNumMess},
        m_groups, this, m_untouched);
    // The load waits; the page may be closed meanwhile, and the wizard with it.
    const QPointer<WizAddUser> self(this);
    if (!m_groups->m_loaded
        && (!m_groups->select(parent, conn, "group", dbcol_group, DBTable::ReportRefusal) || !self))
        return;
    m_fields->acceptNumbers();
    fillFromRow();
    slotChange();
    slotChangeGroup();
}

WizAddUser::~WizAddUser() = default;

void WizAddUser::fillFromRow()
{
    m_editDesk->setText(cell(m_row, "description"));
    m_fields->loadRights(m_row);
    m_fields->loadGroups(m_row);
    m_fields->loadQuota(m_row);
    if (m_wndUser)
        m_wndUser->fillComboAuthTypes(m_auth, wholeNumber(m_row, "auth_type"));
}

bool WizAddUser::existInList(DBRow* group) const
{
    return m_fields->existInList(group);
}

QString WizAddUser::FindDesc(const QString& name) const
{
    return m_fields->FindDesc(name);
}

void WizAddUser::slotChange()
{
    const bool internal = m_auth->currentIndex() == 0;
    const bool ok = !m_editName->text().isEmpty()
        && (m_editPass->text() == m_editConfPass->text() || !internal);
    setNextEnabled(page1, ok);
    setHelpEnabled(page1, ok);
    for (QWidget* field : {static_cast<QWidget*>(m_editPass), static_cast<QWidget*>(m_editConfPass),
                           static_cast<QWidget*>(m_lblPass), static_cast<QWidget*>(m_lblPass2)})
        field->setEnabled(internal);
}

void WizAddUser::slotChangeGroup()
{
    m_fields->updateRemoveButton();
}

void WizAddUser::slotChangePage(const QString&)
{
    // The wizard has set the buttons for the page; the General page's rule holds on it.
    // Whichever way it came: Next, Back, or a question about a field sending the
    // administrator to the field's page.
    if (currentPage() == page1)
        slotChange();
}

void WizAddUser::slotAdd()
{
    m_fields->addGroups();
}

void WizAddUser::slotRemove()
{
    m_fields->removeGroups();
}

void WizAddUser::accept()
{
    const QPointer<WizAddUser> self(this);
    if (!m_fields->confirmNumbers() || !self)
        return;
    const bool internal = m_auth->currentIndex() == 0;
    setCell(m_row, "name", m_editName->text());
    setCell(m_row, "fullname", m_editFull->text());
    setCell(m_row, "description", m_editDesk->text());
    setCell(m_row, "password",
            QStringLiteral("NUL:") + (internal ? m_editPass->text() : QString()));
    const int index = m_auth->currentIndex();
    setCell(m_row, "auth_type",
            QString::number(m_wndUser && index >= 0 ? m_wndUser->getId(unsigned(index)) : 0));
    setCell(m_row, "account_enabled",
            m_chkDisabled->isChecked() ? QStringLiteral("0") : QStringLiteral("1"));
    writeGroups();
    writeRights();
    m_fields->writeQuota(m_row);
    TWizAddUser::accept();
}

void WizAddUser::writeGroups()
{
    // In the order the list shows them: the administrator may have sorted it.
    QStringList names;
    for (int i = 0; i < m_listGroups->topLevelItemCount(); ++i)
        names.append(cell(static_cast<AccountItem*>(m_listGroups->topLevelItem(i))->row(), "name"));
    setCell(m_row, "groups", names.join(QLatin1Char(',')));
}

void WizAddUser::writeRights()
{
    // Only what the buttons say: no other bit of a template's value is kept.
    if (m_rbtnViewLogs->isChecked())
        setCell(m_row, "rights", QStringLiteral("1"));
    else if (m_rbtnFullAcc->isChecked())
        setCell(m_row, "rights", QStringLiteral("3"));
    else
        setCell(m_row, "rights", QStringLiteral("0"));
}
