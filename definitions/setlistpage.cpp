#include "setlistpage.h"

#include "dbrow.h"
#include "rowitem.h"

#include <QAbstractButton>
#include <QSet>
#include <QTreeWidget>

#include <algorithm>

SetListPage::SetListPage(QWidget* page, DBConn* conn, DBCtrl* ctrl, Desktop* desktop,
                         const Source& source)
    : ListPage(page, conn, ctrl, desktop)
    , m_sets(source.table, source.columns, source.nameColumn)
    , m_source(source)
{
}

void SetListPage::addSetList(QTreeWidget* list, const QString& key, QAbstractButton* editButton,
                             QAbstractButton* removeButton)
{
    ListSetup setup;
    setup.view = list;
    setup.key = key;
    setup.version = 1;
    setup.editButton = editButton;
    setup.removeButton = removeButton;
    setup.table = &m_sets.table();
    addList(setup);
    layout().setStorage(m_desktop, QStringLiteral("/Admin/Ferrox"), setup.key, setup.version);
}

void SetListPage::start()
{
    loadLayouts();
    // A failed load has been reported; the page may also have gone while it waited.
    if (loadTables({{&m_sets.table(), m_source.table, m_source.columns}}))
        finishEditablePage();
}

void SetListPage::fillItems(int list)
{
    QTreeWidget* listView = view(list);
    const Cols& model = cols(list);
    // Made apart and put in at once, as a long list must be: an item put into a list one at a
    // time has the list's model announce it, and each of its cells.
    QList<QTreeWidgetItem*> headings;
    for (const GroupedTable::Set& set : m_sets.sets()) {
        auto* heading = new RowItem(static_cast<QTreeWidget*>(nullptr), nullptr);
        const QStringList headingCells = headingTexts(set.name);
        model.showItem(heading, headingCells);
        QList<QTreeWidgetItem*> entries;
        entries.reserve(set.rows.size());
        for (DBRow* row : set.rows) {
            auto* entry = new RowItem(static_cast<QTreeWidget*>(nullptr), row);
            const QStringList cells = entryTexts(row);
            model.showItem(entry, cells);
            entries.append(entry);
        }
        heading->addChildren(entries);
        headings.append(heading);
    }
    listView->addTopLevelItems(headings);
    for (QTreeWidgetItem* heading : std::as_const(headings))
        heading->setExpanded(true);
}

DBRow* SetListPage::rowOf(int, QTreeWidgetItem* item) const
{
    return RowItem::rowOf(item);
}

void SetListPage::addSet()
{
    openSet(QString());
}

QString SetListPage::setOf(QTreeWidgetItem* item) const
{
    if (item && item->parent())
        item = item->parent();
    // A heading's first entry names its set.
    if (!item || item->childCount() == 0)
        return QString();
    return m_sets.nameOf(rowOf(0, item->child(0)));
}

std::optional<QString> SetListPage::selectedSet() const
{
    QSet<QString> sets;
    for (QTreeWidgetItem* item : view()->selectedItems())
        sets.insert(setOf(item));
    return sets.size() == 1 ? std::optional(*sets.cbegin()) : std::nullopt;
}

void SetListPage::updateSetButtons(QAbstractButton* editButton)
{
    updateButtons();
    editButton->setEnabled(selectedSet().has_value());
}

// The set the selection lies within; the menu's entry acts on the item it was opened on,
// which need not be selected alone.
void SetListPage::editCurrentSet()
{
    if (const std::optional<QString> set = selectedSet()) {
        openSet(*set);
        return;
    }
    if (QTreeWidgetItem* item = view()->currentItem())
        openSet(setOf(item));
}

void SetListPage::openSet(const QString& set)
{
    if (!canEdit())
        return;
    const RowHold hold = holdRows();
    const QSet<QStringList> storedOfRemoved = storedEntriesOf(m_removed);
    const bool accepted = runSetDialog(set);
    if (hold.rowsWent() || !accepted)
        return;
    // The dialog changed the server: read what it holds now, and take out again what this
    // page is about to remove, unless the dialog added to it or changed it: the Apply would
    // delete the administrator's new entries with the set.
    if (!reloadTables({{&m_sets.table(), m_source.table, m_source.columns}}) || hold.rowsWent())
        return;
    m_removed.removeIf([this, &storedOfRemoved](const QString& removed) {
        const QList<DBRow*> rows = m_sets.rowsOf(removed);
        return std::any_of(rows.cbegin(), rows.cend(),
                           [&storedOfRemoved](const DBRow* row) { return !storedOfRemoved.contains(cellTexts(row)); });
    });
    for (const QString& removed : std::as_const(m_removed))
        m_sets.removeSet(removed);
    updateView();
    updateButtons();
    updateQuery();
}

QStringList SetListPage::cellTexts(const DBRow* row)
{
    QStringList texts;
    texts.reserve(qsizetype(row->m_values.size()));
    for (const auto& value : row->m_values)
        texts.append(value->text());
    return texts;
}

QSet<QStringList> SetListPage::storedEntriesOf(const QStringList& sets) const
{
    QSet<QStringList> entries;
    for (const std::unique_ptr<DBRow>& row : m_sets.table().m_orig) {
        if (sets.contains(m_sets.nameOf(row.get())))
            entries.insert(cellTexts(row.get()));
    }
    return entries;
}

void SetListPage::removeSelectedSets()
{
    if (!canEdit())
        return;
    QTreeWidget* listView = view();
    for (int i = 0; i < listView->topLevelItemCount(); ++i) {
        QTreeWidgetItem* heading = listView->topLevelItem(i);
        if (!heading->isSelected() || heading->childCount() == 0)
            continue;
        const QString set = setOf(heading);
        m_sets.removeSet(set);
        m_removed.append(set);
    }
    updateView();
    updateButtons();
    updateQuery();
}

void SetListPage::afterApply()
{
    m_removed.clear();
}

void SetListPage::afterReset()
{
    m_removed.clear();
    ListPage::afterReset();
}
