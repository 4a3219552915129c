#pragma once

// What a page's lists and choices show, read the way a user reads them: the first column
// of each top-level entry, and the entries of a combo box, in their order; and a click on
// a list's header, as a user sorts a list.

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
