#include "dlgipgroup.h"

#include "dbrow.h"
#include "groupeditor.h"
#include "ipaccesslist.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

DlgIPGroup::DlgIPGroup(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags,
                       DBConn* conn, Desktop* desktop, QString group)
    : TDlgIPGroup(parent, name, modal, flags), m_groups("ipaccesslist", dbcol_ipacl, "Name")
{
    Q_UNUSED(desktop)
    GroupEditor::EntryFields fields;
    fields.listTexts = [](const DBRow* row) {
        return QStringList{row->m_values[IpAclValue]->text(), row->m_values[IpAclDesc]->text()};
    };
    fields.show = [this](const DBRow* row, UntouchedFields& shown) {
        const QString value = row->m_values[IpAclValue]->text();
        m_editValue->setText(value);
        // A typed value loses its blanks; one stored with blanks keeps them until retyped.
        shown.remember(QStringLiteral("Value"), value, {m_editValue});
        m_editDesc->setText(row->m_values[IpAclDesc]->text());
    };
    fields.write = [this](DBRow* row, const UntouchedFields& shown) {
        const QString typed = m_editValue->text().trimmed();
        row->m_values[IpAclValue]->set(shown.value(QStringLiteral("Value"), typed));
        row->m_values[IpAclDesc]->set(m_editDesc->text());
    };
    fields.complete = [this] { return !m_editValue->text().trimmed().isEmpty(); };
    m_editor = new GroupEditor(this, &m_groups,
                               {m_comboGroup, m_list, m_btnAdd, m_btnEdit, m_btnRemove,
                                m_btnRenameGroup, m_btnRemoveGroup, entryFields()},
                               fields);

    m_groups.load(parent, conn, DBTable::WaitWithProgress | DBTable::ReportRefusal);
    m_editor->start(group);
}

DlgIPGroup::~DlgIPGroup() = default;

void DlgIPGroup::done(int result)
{
    TDlgIPGroup::done(m_editor->closingResult(result));
}

int DlgIPGroup::exec()
{
    return isLoaded() ? TDlgIPGroup::exec() : int(Rejected);
}

void DlgIPGroup::slotGroupChanged(const QString&)
{
    m_editor->showSet();
}

void DlgIPGroup::slotSelected()
{
    m_editor->entrySelected();
}

void DlgIPGroup::slotFieldsChanged()
{
    m_editor->fieldsChanged();
}

void DlgIPGroup::slotAdd()
{
    m_editor->addEntry();
}

void DlgIPGroup::slotEdit()
{
    m_editor->editEntry();
}

void DlgIPGroup::slotRemove()
{
    m_editor->removeEntry();
}

void DlgIPGroup::slotRenameGroup()
{
    m_editor->renameSet();
}

void DlgIPGroup::slotRemoveGroup()
{
    m_editor->removeSet();
}

void DlgIPGroup::slotOK()
{
    m_editor->accept();
}
