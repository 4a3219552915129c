#include "setlistpage.h"

#include "rowitem.h"

#include <QAbstractButton>
#include <QSet>
#include <QTreeWidget>

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

void SetListPage::updateSetButtons(QAbstractButton* editButton)
{
    updateButtons();
    QSet<QString> sets;
    for (QTreeWidgetItem* item : view()->selectedItems())
        sets.insert(setOf(item));
    editButton->setEnabled(sets.size() == 1);
}

void SetListPage::editCurrentSet()
{
    QTreeWidgetItem* item = view()->currentItem();
    if (!item)
        return;
    openSet(setOf(item));
}

void SetListPage::openSet(const QString& set)
{
    if (!canEdit())
        return;
    const RowHold hold = holdRows();
    const bool accepted = runSetDialog(set);
    if (hold.rowsWent() || !accepted)
        return;
    // The dialog changed the server: read what it holds now, and take out again what this
    // page is about to remove.
    if (!reloadTables({{&m_sets.table(), m_source.table, m_source.columns}}) || hold.rowsWent())
        return;
    for (const QString& removed : std::as_const(m_removed))
        m_sets.removeSet(removed);
    updateView();
    updateButtons();
    updateQuery();
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
