#include "dlgeditgroup.h"

#include "accountcolumns.h"
#include "accountfields.h"
#include "accounttexts.h"
#include "dbtable.h"
#include "dbuserlist.h"
#include "globaldata.h"
#include "groupmembers.h"
#include "rightschoice.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

using AccountTexts::cell;
using AccountTexts::wholeNumber;

DlgEditGroup::DlgEditGroup(DBUserList* lists, DBRow* group, DBConn* conn, DBTable* users,
                           QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : TDlgEditGroup(parent, name, modal, fl)
    , m_lists(lists)
    , m_row(group)
    , m_users(users)
{
    const QPointer<DlgEditGroup> self(this);
    if (!loadUsers(conn, parent) || !self)
        return;
    m_editName->setText(cell(m_row, "name"));
    m_editDesk->setText(cell(m_row, "description"));
    m_members = std::make_unique<GroupMembers>(m_listUsers, m_btnRemove, m_users, this);
    // Without an active entry (the connection went) there is no membership to show.
    if (!m_lists->setActiveGroup(cell(m_row, "name"), globalData.currentDomain, m_users) || !self)
        return;
    m_members->showMembers(*m_lists);
    RightsChoice{m_rbtnNoAcc, m_rbtnViewLogs, m_rbtnFullAcc}.show(wholeNumber(m_row, "rights"));
    m_untouched.remember(QStringLiteral("rights"), cell(m_row, "rights"),
                         {m_rbtnNoAcc, m_rbtnViewLogs, m_rbtnFullAcc});
    m_ready = true;
    slotTextChanged();
    slotChanged();
}

DlgEditGroup::~DlgEditGroup() = default;

bool DlgEditGroup::loadUsers(DBConn* conn, QWidget* parent)
{
    return m_users->m_loaded
        || m_users->select(parent, conn, "user", dbcol_user_min, DBTable::ReportRefusal);
}

bool DlgEditGroup::existInList(const QString& name) const
{
    if (!m_members)
        return false;
    for (const DBRow* row : m_members->rows()) {
        if (cell(row, "name") == name)
            return true;
    }
    return false;
}

std::vector<const DBRow*> DlgEditGroup::memberRows() const
{
    return m_members ? m_members->rows() : std::vector<const DBRow*>();
}

void DlgEditGroup::slotTextChanged()
{
    m_btnOK->setEnabled(m_ready && !m_editName->text().isEmpty());
}

void DlgEditGroup::slotAdd()
{
    if (m_ready)
        m_members->addFromPicker(GroupMembers::Listed::ByName);
}

void DlgEditGroup::slotChanged()
{
    if (m_ready)
        m_members->updateRemoveButton();
}

void DlgEditGroup::slotOK()
{
    // An unfilled dialog has nothing of the group to write back.
    if (!m_ready)
        return;
    setCell(m_row, "description", m_editDesk->text());
    const QString rights =
        RightsChoice{m_rbtnNoAcc, m_rbtnViewLogs, m_rbtnFullAcc}.edited(wholeNumber(m_row, "rights"));
    setCell(m_row, "rights", m_untouched.value(QStringLiteral("rights"), rights));
    accept();
}

void DlgEditGroup::slotRemove()
{
    if (m_ready)
        m_members->removeSelected();
}
