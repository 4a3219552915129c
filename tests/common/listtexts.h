#pragma once

// What a page's lists and choices show, read the way a user reads them: the first column
// of each top-level entry, a whole list column by column under its titles, and the entries
// of a combo box, in their order; and a click on a list's header, as a user sorts a list.

#include <QComboBox>
#include <QHeaderView>
#include <QStringList>
#include <QTest>
#include <QTreeWidget>

inline QStringList listedNames(const QTreeWidget* list)
{
    QStringList names;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        names << list->topLevelItem(i)->text(0);
    return names;
}

// The first top-level entry whose first column reads `name`; null when none does.
inline QTreeWidgetItem* itemNamed(const QTreeWidget* list, const QString& name)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->text(0) == name)
            return list->topLevelItem(i);
    }
    return nullptr;
}

// Each column the header shows, left to right: its title, then what every top-level entry
// shows under it, in list order.
inline QList<QStringList> shownColumns(const QTreeWidget* list)
{
    QList<QStringList> columns;
    const QHeaderView* header = list->header();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (header->isSectionHidden(logical))
            continue;
        QStringList column{list->headerItem()->text(logical)};
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            column << list->topLevelItem(i)->data(logical, Qt::DisplayRole).toString();
        columns << column;
    }
    return columns;
}

inline QStringList comboEntries(const QComboBox* box)
{
    QStringList entries;
    for (int i = 0; i < box->count(); ++i)
        entries << box->itemText(i);
    return entries;
}

// A left click in the middle of the header section of column `logical`.
inline void clickHeader(QTreeWidget* list, int logical)
{
    QHeaderView* header = list->header();
    const QPoint inside(header->sectionViewportPosition(logical) + header->sectionSize(logical) / 2,
                        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, inside);
}
