#include "wizaddgroup.h"

#include "accountcolumns.h"
#include "accountfields.h"
#include "dbtable.h"
#include "groupmembers.h"
#include "rightschoice.h"

#include <QLineEdit>
#include <QPointer>

WizAddGroup::WizAddGroup(DBRow* group, DBConn* conn, DBTable* users, QWidget* parent,
                         const char* name, bool modal, Qt::WindowFlags f)
    : TWizAddGroup(parent, name, modal, f)
    , m_row(group)
    , m_users(users)
{
    m_members = std::make_unique<GroupMembers>(m_listUsers, m_btnRemove, m_users, this);
    const QPointer<WizAddGroup> self(this);
    if (!m_users->m_loaded)
        m_users->select(parent, conn, "user", dbcol_user_min, DBTable::ReportRefusal);
    if (!self)
        return;
    // Also after a failed load: without a name the wizard cannot be finished.
    slotChange();
    slotChangeUser();
}

WizAddGroup::~WizAddGroup() = default;

bool WizAddGroup::existInList(const DBRow* row) const
{
    for (const DBRow* member : m_members->rows()) {
        if (member == row)
            return true;
    }
    return false;
}

std::vector<const DBRow*> WizAddGroup::memberRows() const
{
    return m_members->rows();
}

void WizAddGroup::slotChange()
{
    const bool named = !m_editName->text().isEmpty();
    setNextEnabled(page1, named);
    setHelpEnabled(page1, named);
}

void WizAddGroup::slotChangePage(const QString&)
{
    // The wizard has set the buttons for the page; the General page's rule holds on it.
    if (m_page == 0)
        slotChange();
}

void WizAddGroup::slotChangeUser()
{
    m_members->updateRemoveButton();
}

void WizAddGroup::slotAdd()
{
    m_members->addFromPicker(GroupMembers::Listed::ByRow);
}

void WizAddGroup::slotRemove()
{
    m_members->removeSelected();
}

void WizAddGroup::next()
{
    ++m_page;
    TWizAddGroup::next();
}

void WizAddGroup::back()
{
    --m_page;
    TWizAddGroup::back();
}

void WizAddGroup::accept()
{
    setCell(m_row, "name", m_editName->text());
    setCell(m_row, "description", m_editDesk->text());
    setCell(m_row, "rights", RightsChoice{m_rbtnNoAcc, m_rbtnViewLogs, m_rbtnFullAcc}.chosen());
    TWizAddGroup::accept();
}
