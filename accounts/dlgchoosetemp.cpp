#include "dlgchoosetemp.h"

#include "accounttexts.h"
#include "dbrow.h"
#include "dbtable.h"
#include "qtemplateitem.h"
#include "sortkey.h"

#include <QHeaderView>
#include <QTreeWidget>

#include <algorithm>

using AccountTexts::cell;

namespace {

// Templates of the primary domain carry its name, not the empty text its users carry.
QString templateDomain(const QString& domain, const DBTable& domains)
{
    if (!domain.isEmpty())
        return domain;
    QString primary;
    for (const auto& row : domains.m_rows) {
        if (AccountTexts::wholeNumber(row.get(), "type") == 0)
            primary = cell(row.get(), "domain");
    }
    return primary;
}

} // namespace

DlgChooseTemp::DlgChooseTemp(DBTable* templates, DBTable* domains, QString domain, QWidget* parent,
                             const char* name, bool modal, Qt::WindowFlags flags)
    : TDlgChooseTemp(parent, name, modal, flags)
{
    m_list->clear();
    auto* defaultItem = new QTemplateItem(m_list, nullptr, nullptr);
    defaultItem->show_min();

    const QString served = templateDomain(domain, *domains);
    QList<QTemplateItem*> items;
    for (const auto& row : templates->m_rows) {
        const QString own = cell(row.get(), "domain");
        if (!own.isEmpty() && own != served)
            continue;
        auto* item = new QTemplateItem(nullptr, row.get(), nullptr);
        item->show_min();
        items.append(item);
    }
    // By name, after "Default" whatever the names are: a template may itself be called
    // "Default", or have a name that sorts before it.
    std::stable_sort(items.begin(), items.end(), [](const QTemplateItem* a, const QTemplateItem* b) {
        return compareAsSortKeys(a->key(0, true), b->key(0, true)) < 0;
    });
    for (QTemplateItem* item : std::as_const(items))
        m_list->addTopLevelItem(item);
    // A click on a header sorts by that column, as in any list; until then the order above
    // stands (no column is sorted yet), and the form shows no sort arrow.
    m_list->header()->setSortIndicator(-1, Qt::AscendingOrder);
    m_list->setSortingEnabled(true);
    m_list->header()->setSortIndicatorShown(false);
    m_list->setCurrentItem(defaultItem);
    defaultItem->setSelected(true);
}

DlgChooseTemp::~DlgChooseTemp() = default;

DBRow* DlgChooseTemp::chosenTemplate() const
{
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? nullptr : static_cast<QTemplateItem*>(selected.first())->row();
}

void DlgChooseTemp::slotOK()
{
    accept();
}
