#include "testlistpage.h"

#include "keyeditem.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// A keyed row that counts the keys it makes.
class CountingRow : public KeyedItem
{
public:
    explicit CountingRow(int* keysMade)
        : KeyedItem(static_cast<QTreeWidget*>(nullptr), UserType + 1)
        , m_keysMade(keysMade)
    {
    }

    QString key(int column, bool ascending) const override
    {
        ++*m_keysMade;
        return KeyedItem::key(column, ascending);
    }

private:
    int* m_keysMade;
};

} // namespace

const char* const TestListPage::section = "Admin/Mail";
const char* const TestListPage::listName = "testlist";

TestListPage::TestListPage(Desktop* desktop, const QList<TestColumn>& columns,
                           const QList<QStringList>& rows, QWidget* parent)
    : QWidget(parent)
    , m_list(new QTreeWidget(this))
    , m_layout(&m_cols, m_list, this)
    , m_rows(rows)
{
    // What the page's form would do: a flat list, sorted by its first column.
    auto* box = new QVBoxLayout(this);
    box->addWidget(m_list);
    m_list->setRootIsDecorated(false);
    m_list->setSortingEnabled(true);
    m_list->sortByColumn(0, Qt::AscendingOrder);

    m_layout.setStorage(desktop, QLatin1String(section), QLatin1String(listName), version);
    m_layout.setPopup(this);
    for (const TestColumn& column : columns)
        m_cols.add(column.title, column.shown, -1, false);
    m_layout.load();
    connect(&m_layout, &ListLayout::fillItems, this, &TestListPage::fillItems);
    m_layout.updateView();
}

void TestListPage::setRows(const QList<QStringList>& rows)
{
    m_rows = rows;
    m_layout.updateView();
}

void TestListPage::slotCols()
{
    ++slotColsCount;
    m_layout.modifyColumns();
}

void TestListPage::fillItems()
{
    ++fillCount;
    sortingDuringLastFill = m_list->isSortingEnabled();
    QList<QTreeWidgetItem*> items;
    items.reserve(m_rows.size());
    for (const QStringList& row : m_rows) {
        QTreeWidgetItem* item = keyedRows ? new CountingRow(&keysMade) : new QTreeWidgetItem;
        m_cols.showItem(item, row);
        items.append(item);
    }
    if (keyedRows)
        m_layout.addRows(items);
    else
        m_list->addTopLevelItems(items);
}

QStringList TestListPage::visibleRow(int row) const
{
    QStringList texts;
    const QHeaderView* header = m_list->header();
    const QTreeWidgetItem* item = row < 0 ? m_list->headerItem() : m_list->topLevelItem(row);
    for (int visual = 0; item && visual < header->count(); ++visual)
        texts.append(item->text(header->logicalIndex(visual)));
    return texts;
}

bool TestListPage::fillPopupMenu(QMenu& menu, QWidget* receiver, QTreeWidgetItem* item)
{
    ++menus;
    menuItem = item;
    return showMenus && T2Popup::fillPopupMenu(menu, receiver, item);
}
