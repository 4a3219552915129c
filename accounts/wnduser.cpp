#include "wnduser.h"

#include "accountcolumns.h"
#include "accounttexts.h"
#include "dbrow.h"
#include "dlgedituser.h"
#include "domainchoice.h"
#include "globaldata.h"
#include "quseritem.h"
#include "dialogseam.h"
#include "scopedqpointer.h"

#include <QComboBox>
#include <QPushButton>
#include <QTreeWidget>

using AccountTexts::cell;

WndUser::WndUser(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop,
                 const char* name, Qt::WindowFlags fl)
    : TWndUser(parent, name, fl)
    , ListPage(this, conn, ctrl, desktop)
    , m_authChoice(conn)
{
    addList({m_list, QStringLiteral("user"), 2, m_btnEdit, m_btnRemove, &m_users,
             tr("This user already exists!")});
    QUserItem::addColumns(cols());
    loadLayouts();
    if (!loadTables({{&m_users, "user", dbcol_user},
                     {&m_domains, "domain", dbcol_domain},
                     {&m_authTypes, "get_auth_types()", dbcol_auth, true},
                     {&m_templates, "template", dbcol_template}}))
        return;
    finishEditablePage();
}

WndUser::~WndUser() = default;

void WndUser::fillComboAuthTypes(QComboBox* combo, int currentId)
{
    m_authChoice.fillComboAuthTypes(combo, currentId);
}

int WndUser::getId(unsigned index) const
{
    return m_authChoice.getId(index);
}

void WndUser::updateView()
{
    ListPage::updateView(0);
}

void WndUser::fillItems(int)
{
    DomainChoice::fill(m_comboDomain, m_domains);
    const QString& current = globalData.currentDomain;
    // Made apart and put in at once: the list takes thousands of entries in one step.
    QList<QTreeWidgetItem*> items;
    // Every row of the table has the same columns.
    const int domainColumn = m_users.m_rows.empty() ? -1 : m_users.m_rows.front()->colIndex("domain");
    for (const auto& row : m_users.m_rows) {
        if (row->m_values.at(size_t(domainColumn))->text() != current)
            continue;
        auto* item = new QUserItem(nullptr, row.get(), &cols());
        item->show(m_authTypes);
        items.append(item);
    }
    m_list->addTopLevelItems(items);
}

DBRow* WndUser::rowOf(int, QTreeWidgetItem* item) const
{
    return static_cast<QUserItem*>(item)->row();
}

void WndUser::showItem(int, QTreeWidgetItem* item)
{
    static_cast<QUserItem*>(item)->show(m_authTypes);
}

bool WndUser::runEditDialog(int, DBRow* row)
{
    ScopedQPointer<DlgEditUser> dialog(
        new DlgEditUser(row, m_conn, &m_groups, &m_languages, this, nullptr, true, {}));
    // A dialog whose tables did not load has nothing to show and must write nothing.
    if (!dialog || !dialog->isReady())
        return false;
    return Dialogs::exec(dialog.get()) == QDialog::Accepted && dialog;
}

void WndUser::afterReset()
{
    updateView();
}

void WndUser::slotCols()
{
    modifyColumns();
}

void WndUser::slotDomainChanged(const QString& text)
{
    globalData.currentDomain = DomainChoice::chosen(m_domains, text);
    updateView();
}

void WndUser::slotEdit()
{
    editCurrent();
}

void WndUser::slotRemove()
{
    removeSelected();
}

void WndUser::slotSelectionChanged()
{
    updateButtons();
}
