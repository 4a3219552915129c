#pragma once

// A list view with one item class's columns, for the item tests: the ids given are shown,
// in this visual order, and every other id is hidden.

#include "cols.h"
#include "deliveryfixture.h"

#include <QHeaderView>
#include <QTreeWidget>

#include <memory>
#include <vector>

template<class Item>
struct ItemList
{
    explicit ItemList(const QList<int>& shown)
    {
        Item::addColumns(cols);
        cols.view = &view;
        while (!cols.cols.isEmpty() && cols.cols.first() >= 0)
            cols.hide(0);
        for (int id : shown)
            cols.show(int(cols.hid.indexOf(id)));
        cols.clearView();
        cols.fillView();
        view.setSortingEnabled(true);
    }

    // The texts of the item's columns as they stand on screen, left to right.
    QStringList onScreen(const QTreeWidgetItem* item) const
    {
        QStringList texts;
        for (int visual = 0; visual < view.columnCount(); ++visual)
            texts << item->text(view.header()->logicalIndex(visual));
        return texts;
    }

    // The texts of column id `id` from the top of the list down.
    QStringList columnOf(int id) const
    {
        QStringList texts;
        for (int i = 0; i < view.topLevelItemCount(); ++i)
            texts << view.topLevelItem(i)->text(cols.dispinv.at(id));
        return texts;
    }

    void sortBy(int id, Qt::SortOrder order = Qt::AscendingOrder)
    {
        view.sortByColumn(cols.dispinv.at(id), order);
    }

    QTreeWidget view;
    Cols cols;
    std::vector<std::unique_ptr<DBRow>> rows;
};
