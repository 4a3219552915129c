#include "wndtemplate.h"

#include "accountcolumns.h"
#include "accountfields.h"
#include "dbrow.h"
#include "dialogseam.h"
#include "dlgedittemplate.h"
#include "qtemplateitem.h"
#include "scopedqpointer.h"

#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>

WndTemplate::WndTemplate(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop,
                         const char* name, Qt::WindowFlags fl)
    : TWndTemplate(parent, name, fl)
    , ListPage(this, conn, ctrl, desktop)
    , m_authChoice(conn)
{
    addList({m_list, QStringLiteral("template"), 1, m_btnEdit, m_btnRemove, &m_templates,
             tr("This template already exists!")});
    QTemplateItem::addColumns(cols());
    loadLayouts();
    if (!loadTables({{&m_templates, "template", dbcol_template},
                     {&m_domains, "domain", dbcol_domain},
                     {&m_authTypes, "get_auth_types()", dbcol_auth, true}}))
        return;
    finishEditablePage();
}

WndTemplate::~WndTemplate() = default;

void WndTemplate::fillComboAuthTypes(QComboBox* combo, int currentId)
{
    m_authChoice.fillComboAuthTypes(combo, currentId);
}

int WndTemplate::getId(unsigned index) const
{
    return m_authChoice.getId(index);
}

void WndTemplate::fillItems(int)
{
    for (const auto& row : m_templates.m_rows)
        showItem(0, new QTemplateItem(m_list, row.get(), &cols()));
}

DBRow* WndTemplate::rowOf(int, QTreeWidgetItem* item) const
{
    return static_cast<QTemplateItem*>(item)->row();
}

QTreeWidgetItem* WndTemplate::newItem(int, DBRow* row)
{
    return new QTemplateItem(m_list, row, &cols());
}

void WndTemplate::showItem(int, QTreeWidgetItem* item)
{
    static_cast<QTemplateItem*>(item)->show(m_authTypes);
}

bool WndTemplate::runEditDialog(int list, DBRow* row)
{
    ScopedQPointer<DlgEditTemplate> dialog(
        new DlgEditTemplate(row, m_conn, &m_domains, &m_groups, &m_languages, this, nullptr,
                            true, {}, row == m_addedRow));
    // A dialog whose tables did not load has nothing to show and must write nothing.
    if (!dialog || !dialog->isReady())
        return false;
    dialog->setNewRow(isNewRow(list, row));
    return Dialogs::exec(dialog.get()) == QDialog::Accepted && dialog;
}

void WndTemplate::slotAdd()
{
    const QPointer<WndTemplate> self(this);
    addRow(0, [this](DBRow* row) {
        setCell(row, "msgperpage", QStringLiteral("20"));
        setCell(row, "sentfolder", QStringLiteral("Sent Items"));
        setCell(row, "draftfolder", QStringLiteral("Drafts"));
        setCell(row, "preflang", QStringLiteral("en"));
        setCell(row, "showsub", QStringLiteral("1"));
        setCell(row, "domain", QString());
        m_addedRow = row;
    });
    if (self)
        m_addedRow = nullptr;
}

void WndTemplate::slotCols()
{
    modifyColumns();
}

void WndTemplate::slotEdit()
{
    editCurrent();
}

void WndTemplate::slotRemove()
{
    removeSelected();
}

void WndTemplate::slotSelectionChanged()
{
    updateButtons();
}
