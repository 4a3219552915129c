#include "dlgimport2.h"

#include "accounttexts.h"
#include "dbrow.h"
#include "dbtable.h"
#include "qimport2item.h"

#include <QComboBox>
#include <QTreeWidget>

DlgImport2::DlgImport2(QWidget* parent, DBTable* users, DBTable* templates, const char* name,
                       bool modal, Qt::WindowFlags f)
    : TDlgImport2(parent, name, modal, f)
    , m_users(users)
    , m_templates(templates)
{
    m_combo->setFocus();
    m_combo->addItem(tr("Default"));
    for (const auto& row : m_templates->m_rows)
        m_combo->addItem(AccountTexts::cell(row.get(), "tempname"));
    m_combo->setCurrentIndex(0);

    // Made apart, put in at once and sorted once: a domain may hold thousands of accounts.
    m_list->clear();
    m_list->setSortingEnabled(false);
    QList<QTreeWidgetItem*> items;
    items.reserve(int(m_users->m_rows.size()));
    for (const auto& row : m_users->m_rows) {
        auto* item = new QImport2Item(nullptr, row.get(), this);
        item->show();
        items.append(item);
    }
    m_list->addTopLevelItems(items);
    m_list->setSortingEnabled(true);
}

DlgImport2::~DlgImport2() = default;

QList<DBRow*> DlgImport2::tickedAccounts() const
{
    QList<DBRow*> ticked;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        const auto* item = static_cast<const QImport2Item*>(m_list->topLevelItem(i));
        if (item->isOn())
            ticked.append(item->row());
    }
    return ticked;
}

DBRow* DlgImport2::chosenTemplate() const
{
    const int index = m_combo->currentIndex();
    if (index < 1 || size_t(index) > m_templates->m_rows.size())
        return nullptr;
    return m_templates->m_rows.at(size_t(index - 1)).get();
}
