#include "wndipgroup.h"

#include "dbrow.h"
#include "dialogseam.h"
#include "dlgipgroup.h"
#include "ipaccesslist.h"

#include <QPushButton>
#include <QTreeWidget>

WndIPGroup::WndIPGroup(QWidget* parent, DBConn* conn, DBCtrl* ctrl, const char* name,
                       Qt::WindowFlags f, Desktop* desktop)
    : TWndIPs(parent, name, f)
    , SetListPage(this, conn, ctrl, desktop, {"ipaccesslist", dbcol_ipacl, "Name"})
{
    addSetList(m_list, QStringLiteral("IP Groups"), m_btnEdit, m_btnRemove);
    cols().add(tr("Name"), true, -1, false);
    cols().add(tr("Description"), true, -1, false);
    start();
}

WndIPGroup::~WndIPGroup() = default;

QStringList WndIPGroup::headingTexts(const QString& group) const
{
    return {group, QString()};
}

QStringList WndIPGroup::entryTexts(const DBRow* row) const
{
    return {row->m_values[IpAclValue]->text(), row->m_values[IpAclDesc]->text()};
}

bool WndIPGroup::runSetDialog(const QString& group)
{
    DlgIPGroup dialog(this, nullptr, true, {}, m_conn, m_desktop, group);
    if (!dialog.isLoaded())
        return false;
    return Dialogs::exec(&dialog) == QDialog::Accepted;
}

void WndIPGroup::slotAdd()
{
    addSet();
}

void WndIPGroup::slotCols()
{
    modifyColumns();
}

void WndIPGroup::slotEdit()
{
    editCurrentSet();
}

void WndIPGroup::slotRemove()
{
    removeSelectedSets();
}

void WndIPGroup::slotSelectionChanged()
{
    updateSetButtons(m_btnEdit);
}
