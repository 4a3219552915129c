#include "wnduser.h"

#include "accountcolumns.h"
#include "accountfields.h"
#include "accounttexts.h"
#include "dbrow.h"
#include "dlgchoosetemp.h"
#include "dlgedituser.h"
#include "dlgimport.h"
#include "dlgimport2.h"
#include "domainchoice.h"
#include "globaldata.h"
#include "newusers.h"
#include "quseritem.h"
#include "requestfailure.h"
#include "rowprefetch.h"
#include "wizadduser.h"
#include "dialogseam.h"
#include "scopedqpointer.h"

#include <QComboBox>
#include <QLineEdit>
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
    // Made apart and put in at once, in the order shown: the list takes thousands of entries
    // in one step.
    QList<QTreeWidgetItem*> items;
    // Every row of the table has the same columns.
    const int domainColumn = m_users.m_rows.empty() ? -1 : m_users.m_rows.front()->colIndex("domain");
    // Each row's domain is compared as a value, not as a copy of its text: a copy counts a
    // reference on every row's text with a locked instruction, and those keep the reads of a
    // long table's rows from overlapping.
    DBStr shownDomain;
    shownDomain.set(current);
    const DBTable::RowList& rows = m_users.m_rows;
    for (size_t i = 0; i < rows.size(); ++i) {
        RowPrefetch::cellAhead(rows, i, size_t(domainColumn));
        DBRow* row = rows[i].get();
        if (!row->m_values.at(size_t(domainColumn))->sameText(shownDomain))
            continue;
        auto* item = new QUserItem(nullptr, row, &cols());
        item->show(m_authTypes);
        items.append(item);
    }
    ListPage::layout().addRows(items);
}

DBRow* WndUser::rowOf(int, QTreeWidgetItem* item) const
{
    return static_cast<QUserItem*>(item)->row();
}

void WndUser::showItem(int, QTreeWidgetItem* item)
{
    static_cast<QUserItem*>(item)->show(m_authTypes);
}

bool WndUser::runEditDialog(int list, DBRow* row)
{
    ScopedQPointer<DlgEditUser> dialog(
        new DlgEditUser(row, m_conn, &m_groups, &m_languages, this, nullptr, true, {}));
    // A dialog whose tables did not load has nothing to show and must write nothing.
    if (!dialog || !dialog->isReady())
        return false;
    dialog->setNewRow(isNewRow(list, row));
    return Dialogs::exec(dialog.get()) == QDialog::Accepted && dialog;
}

// A server's users may number a hundred thousand: an edit hands in its row alone, and the
// whole difference is made where the rows are replaced anyway.
void WndUser::updateQueryAfterEdit(const DBRow* row)
{
    updateQueryFromRow(row);
}

void WndUser::afterApply()
{
    makeDifferences();
}

void WndUser::afterReset()
{
    makeDifferences();
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

bool WndUser::chooseTemplate(DBRow** chosen)
{
    *chosen = nullptr;
    if (m_templates.m_rows.empty())
        return true;
    ScopedQPointer<DlgChooseTemp> chooser(new DlgChooseTemp(
        &m_templates, &m_domains, globalData.currentDomain, this, nullptr, true, {}));
    if (Dialogs::exec(chooser.get()) != QDialog::Accepted || !chooser)
        return false;
    *chosen = chooser->chosenTemplate();
    return true;
}

void WndUser::slotAdd()
{
    if (!canEdit())
        return;
    // The new row is the page's from the template chooser to the wizard's end.
    const RowHold hold = holdRows();
    DBRow* row = m_users.append();
    NewUsers::writeDefaults(row);
    DBRow* templ = nullptr;
    const bool chosen = chooseTemplate(&templ);
    if (hold.rowsWent())
        return;
    if (!chosen) {
        m_users.remove(row);
        return;
    }
    if (templ)
        NewUsers::copyTemplate(row, templ);

    ScopedQPointer<WizAddUser> wizard(new WizAddUser(row, m_conn, &m_groups, this, nullptr, true, {}));
    if (hold.rowsWent())
        return;
    setCell(row, "domain", globalData.currentDomain);
    setCell(row, "showsub", QString::number(1));
    const bool finished = wizard && Dialogs::exec(wizard.get()) == QDialog::Accepted && wizard;
    if (hold.rowsWent())
        return;
    if (!finished) {
        m_users.remove(row);
        return;
    }
    if (!m_users.check_primary_key(row, nullptr, true)) {
        // Not shown again: what was entered goes with the refused user.
        Dialogs::warning(this, caption(), tr("This user already exists!"), QMessageBox::Ok);
        if (!hold.rowsWent())
            m_users.remove(row);
        return;
    }
    (new QUserItem(m_list, row, &cols()))->show(m_authTypes);
    updateQuery();
}

void WndUser::slotImport()
{
    if (!canEdit())
        return;
    const QPointer<WndUser> self(this);
    // Nothing goes into what a reset met meanwhile leaves of the table.
    const RowHold hold = holdRows();
    ScopedQPointer<DlgImport> source(new DlgImport(this, nullptr, true, {}));
    if (Dialogs::exec(source.get()) != QDialog::Accepted || !source || !self)
        return;
    const QString ntDomain = source->m_editDomain->text();

    DBTable accounts;
    const QString call = NewUsers::importCall(ntDomain, globalData.currentDomain);
    const bool listed = accounts.function(parentWidget(), m_conn, call.toLatin1().constData(),
                                          dbcol_import, DBTable::WaitWithProgress | DBTable::ReportRefusal);
    if (!self)
        return;
    if (!listed) {
        // A lost connection has been told once already, by the console's own box.
        if (!connectionLost(m_conn))
            Dialogs::warning(this, tr("Error"),
                             tr("Import from the specified domain \"%1\" failed!").arg(ntDomain),
                             QMessageBox::Ok);
        return;
    }
    if (accounts.m_rows.empty()) {
        Dialogs::warning(this, caption(), tr("Domain \"%1\" contains no users!").arg(ntDomain),
                         QMessageBox::Ok);
        return;
    }

    ScopedQPointer<DlgImport2> found(new DlgImport2(this, &accounts, &m_templates, nullptr, true, {}));
    if (Dialogs::exec(found.get()) != QDialog::Accepted || !found || hold.rowsWent())
        return;
    const QStringList skipped = NewUsers::importUsers(m_users, found->tickedAccounts(),
                                                      found->chosenTemplate(), globalData.currentDomain);
    updateQuery();
    updateView();
    if (!skipped.isEmpty())
        warnSkippedImports(skipped);
}

void WndUser::warnSkippedImports(const QStringList& names)
{
    QStringList shown;
    for (const QString& name : names)
        shown.append(name.isEmpty() ? tr("(no name)") : name);
    Dialogs::warning(this, caption(),
                     tr("These accounts were not imported: their names are empty, repeated or "
                        "already used in this domain:\n%1").arg(shown.join(QLatin1Char('\n'))),
                     QMessageBox::Ok);
}
