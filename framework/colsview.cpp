// The binding of a Cols to its list view: rebuilding the view's columns from the model,
// and recording in the model what the administrator did in the header.

#include "cols.h"

#include <QHeaderView>
#include <QStringList>
#include <QTreeWidget>

void Cols::clearView()
{
    if (!view)
        return;
    // With its last column the header also forgets its visual order: fillView() starts
    // from the identity and sets the order again.
    view->setColumnCount(0);
    view->clear();
    view->viewport()->update();
}

void Cols::fillView()
{
    if (!view)
        return;
    QHeaderView* header = view->header();
    // A stretched last section would show a width other than the model's.
    header->setStretchLastSection(false);
    const int first = view->columnCount();
    QList<int> shownIds;
    for (int id = 0; id < columnCount(); ++id) {
        if (showFlags.at(id) != 0)
            shownIds.append(id);
    }
    if (shownIds.isEmpty())
        return;

    view->setColumnCount(first + int(shownIds.size()));
    QTreeWidgetItem* headerItem = view->headerItem();
    for (int k = 0; k < shownIds.size(); ++k) {
        const int id = shownIds.at(k);
        const int column = first + k;
        headerItem->setText(column, titles.value(id));
        if (width.value(id, -1) < 0)
            view->resizeColumnToContents(column);
        else
            header->resizeSection(column, width.at(id));
    }

    placeSectionsFrom(first);
}

void Cols::placeSections()
{
    // A view built from another model, or not yet built, is not this model's to order.
    const int first = view ? view->columnCount() - shownCount() : -1;
    if (first >= 0)
        placeSectionsFrom(first);
}

void Cols::placeSectionsFrom(int first)
{
    QHeaderView* header = view->header();
    // Section by section from the left: every section still to be placed stands at the
    // position being filled or right of it, so each move goes left or nowhere. Columns the
    // view had before stay in front.
    for (int i = 0; i < columnCount(); ++i) {
        const int id = cols.at(i);
        if (id < 0 || id >= columnCount())
            continue;
        const int section = first + dispinv.value(id, -1);
        if (section < first || section >= header->count())
            continue;
        header->moveSection(header->visualIndex(section), first + i);
    }
}

void Cols::changePos(int from, int to)
{
    if (!move(from, to))
        return;
    clearView();
    fillView();
}

bool Cols::move(int from, int to)
{
    const int shown = shownCount();
    // The header reports only positions it has; anything else would write outside cols.
    if (from < 0 || from >= shown || to < 0 || to > shown)
        return false;
    const int id = cols.at(from);
    if (from < to) {
        for (int i = from; i <= to - 2; ++i)
            cols[i] = cols.at(i + 1);
        cols[to - 1] = id;
    } else {
        for (int i = from; i >= to + 1; --i)
            cols[i] = cols.at(i - 1);
        cols[to] = id;
    }
    return true;
}

void Cols::changeSize(int section, int w)
{
    const int id = disp.value(section, -1);
    if (id < 0 || id >= columnCount())
        return;
    width[id] = w;
}
