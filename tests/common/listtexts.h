#pragma once

// What a page's lists and choices show, read the way a user reads them: the first column
// of each top-level entry, and the entries of a combo box, in their order.

#include <QComboBox>
#include <QStringList>
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

inline QStringList comboEntries(const QComboBox* box)
{
    QStringList entries;
    for (int i = 0; i < box->count(); ++i)
        entries << box->itemText(i);
    return entries;
}
