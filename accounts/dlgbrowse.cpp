#include "dlgbrowse.h"

#include "accountcolumns.h"
#include "accounttexts.h"
#include "choicebox.h"
#include "comboboxes.h"
#include "dbtable.h"
#include "globaldata.h"
#include "qgroupitem.h"
#include "quseritem.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTreeWidget>

#include <algorithm>

using AccountTexts::cell;
using AccountTexts::wholeNumber;

namespace {

// The indicator shows only once the wait lasts; a refused statement is reported in the
// table layer's box.
const int LoadFlags = DBTable::ReportRefusal;

bool loadIfNeeded(DBTable* table, QWidget* parent, DBConn* conn, const char* name,
                  const DBCOL* cols)
{
    return table->m_loaded || table->select(parent, conn, name, cols, LoadFlags);
}

} // namespace

DlgBrowse::DlgBrowse(QWidget* parent, const char* name, bool modal, Qt::WindowFlags f,
                     DBConn* conn, DBTable* domains, DBTable* users, DBTable* groups)
    : TDlgBrowse(parent, name, modal, f)
    , m_users(users)
    , m_groups(groups)
    , m_domains(domains)
{
    m_cols.view = m_list;
    if (!loadTables(parent, conn))
        return;
    m_cols.add(tr("Name"), true, -1, false);
    m_cols.add(tr("Description"), true, -1, false);
    m_cols.add(tr("Fullname"), true, -1, false);
    m_comboName->setEditText(QString());
    updateData();
}

DlgBrowse::~DlgBrowse() = default;

bool DlgBrowse::loadTables(QWidget* parent, DBConn* conn)
{
    return loadIfNeeded(m_domains, parent, conn, "domain", dbcol_domain)
           && loadIfNeeded(m_users, parent, conn, "user", dbcol_user_min)
           && (!m_groups || loadIfNeeded(m_groups, parent, conn, "group", dbcol_group));
}

void DlgBrowse::fillDomainField()
{
    m_comboDomain->clear();
    const QString& current = globalData.currentDomain;
    for (const auto& row : m_domains->m_rows) {
        const int type = wholeNumber(row.get(), "type");
        if (type != 0 && type != 1)
            continue; // alias and forwarding domains hold no accounts
        const QString domain = cell(row.get(), "domain");
        m_comboDomain->addItem(domain);
        if (domain == current || (current.isEmpty() && type == 0))
            m_comboDomain->setCurrentIndex(m_comboDomain->count() - 1);
    }
}

void DlgBrowse::updateData()
{
    // Fill first, then sort once, by the column the list was sorted by (the first at first).
    const int sortColumn = std::max(0, m_list->sortColumn());
    const Qt::SortOrder sortOrder = m_list->header()->sortIndicatorOrder();
    m_list->setSortingEnabled(false);
    m_cols.clearView();
    m_cols.fillView();
    fillDomainField();

    const QString& current = globalData.currentDomain;
    QStringList names{QString()};
    for (const auto& row : m_users->m_rows) {
        if (cell(row.get(), "domain") != current)
            continue;
        (new QUserItem(m_list, row.get(), &m_cols))->show_min();
        names.append(cell(row.get(), "name"));
    }
    if (m_groups) {
        for (const auto& row : m_groups->m_rows) {
            if (cell(row.get(), "domain") != current)
                continue;
            (new QGroupItem(m_list, row.get(), &m_cols))->show_min();
            names.append(QLatin1Char('[') + cell(row.get(), "name") + QLatin1Char(']'));
        }
    }
    // By their lower-cased characters; each keeps its case. The empty entry comes first.
    std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return a.toLower() < b.toLower();
    });
    m_comboName->clear();
    m_comboName->addItems(names);
    m_comboName->setCurrentIndex(0);
    m_list->sortByColumn(sortColumn, sortOrder);
    m_list->setSortingEnabled(true);
    // Columns of automatic width grow to their entries, as the old list's did.
    for (int column = 0; column < m_list->columnCount(); ++column)
        m_list->resizeColumnToContents(column);
    m_comboName->setFocus();
}

void DlgBrowse::slotDomainChanged(const QString& text)
{
    globalData.currentDomain = text;
    for (const auto& row : m_domains->m_rows) {
        if (cell(row.get(), "domain") == text && wholeNumber(row.get(), "type") == 0) {
            globalData.currentDomain = QString(QLatin1String(""));
            break;
        }
    }
    updateData();
}

bool DlgBrowse::isDomainPrimary(const QString& domain) const
{
    for (const auto& row : m_domains->m_rows) {
        if (cell(row.get(), "domain") == domain)
            return wholeNumber(row.get(), "type") == 0;
    }
    return false;
}

QString DlgBrowse::appendDomain(const QString& domain) const
{
    return isDomainPrimary(domain) ? QString() : QLatin1Char('@') + domain;
}

bool DlgBrowse::isGroupEntry(const QTreeWidgetItem* item) const
{
    return m_groups && item->text(0).startsWith(QLatin1Char('['));
}

void DlgBrowse::slotSelected()
{
    QTreeWidgetItem* item = m_list->currentItem();
    if (!item)
        return;
    const QString name = cell(static_cast<AccountItem*>(item)->row(), "name");
    ComboBoxes::setCurrentText(m_comboName, isGroupEntry(item) ? QLatin1Char('[') + name + QLatin1Char(']') : name);
}

void DlgBrowse::slotOK()
{
    // Blanks typed around a name or a domain are no part of the address.
    const QString typed = ChoiceBox::nameShown(m_comboName);
    const QString suffix = appendDomain(ChoiceBox::nameShown(m_comboDomain));
    if (typed.contains(QLatin1Char('@'))) {
        m_result = typed;
    } else if (typed.startsWith(QLatin1Char('['))) {
        // A group name: the domain goes inside its brackets. A closing bracket the
        // administrator left out is not eaten in its place.
        const QString group = typed.endsWith(QLatin1Char(']')) ? typed.chopped(1) : typed;
        m_result = group + suffix + QLatin1Char(']');
    } else if (!typed.isEmpty()) {
        m_result = typed + suffix;
    } else if (QTreeWidgetItem* item = m_list->currentItem()) {
        const QString name = cell(static_cast<AccountItem*>(item)->row(), "name");
        m_result = isGroupEntry(item) ? QLatin1Char('[') + name + suffix + QLatin1Char(']')
                                      : name + suffix;
    } else {
        m_result = QString();
    }
    accept();
}
