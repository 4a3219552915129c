#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTreeWidgetItem>

class Desktop;
class QTreeWidget;

// The column model of one list view: titles, visibility, left-to-right order and widths,
// with the defaults the owner declared. A column's id is the order in which it was added
// and never changes; a view column is the list view's own column number (the shown ids in
// ascending order); a visual position is a place in the header from the left.
//
// The list items read the fields directly, so they are public. Between operations:
// - cols, disp, dispinv, hid, titles, showFlags and width have one entry per column (n);
// - cols and disp hold the k shown ids then -1s, hid the n - k hidden ids then -1s;
// - cols holds the shown ids in visual order, disp the same ids ascending, hid the hidden
//   ids in the order they were hidden; every id stands in exactly one of cols and hid;
// - showFlags[id] is 1 for a shown id, 0 for a hidden one;
// - dispinv[disp[j]] == j for each shown id, -1 for each hidden one.
//
// A Cols is edited as a value: a copy never changes when its source is edited. Copy
// construction copies everything, view included; assignment keeps the target's view, so a
// page can take back the model a dialog edited without losing its list view.
class Cols
{
public:
    Cols() = default;
    Cols(const Cols& other) = default;
    Cols& operator=(const Cols& other);

    // Appends the column with the next id. The defaults are left alone when fromReset is
    // true: reset() rebuilds the current lists from them.
    void add(QString title, bool shown, int columnWidth, bool fromReset);
    // Rebuilds dispinv from disp.
    void recount();
    // Shows cols, disp, dispinv, hid and showFlags in a warning box; a debugging aid.
    void showDebug();

    // Back to the declared layout: titles, visibility, order and widths.
    void reset();
    // Hides the column at visual position i (0 <= i < k).
    void hide(int i);
    // Shows the column at position i of hid (0 <= i < n - k) as the rightmost column.
    void show(int i);
    // Moves the column at visual position i one place left (1 <= i < k).
    void up(int i);
    // Moves the column at visual position i one place right (0 <= i < k - 1).
    void down(int i);

    // The layout is kept in six entries under "/" + section + "/" + list + "/". load()
    // takes it only when it was stored under the same version and is whole and consistent
    // for this model's columns; otherwise the model keeps what it holds.
    void save(Desktop* desktop, QString section, QString list, int version) const;
    void load(Desktop* desktop, QString section, QString list, int version);

    // The binding to `view` (colsview.cpp). The view's columns are the shown ids in
    // ascending order, reordered in the header to follow cols.
    // Removes every column and every item of the view.
    void clearView();
    // Adds a column per shown id (a width of -1 fits the column to its contents) and moves
    // the header sections into the order of cols; the page calls clearView() first.
    void fillView();
    // Records a header drag in Qt 3's convention: for a move to the right, `to` is the
    // position before which the column goes, counted before it is taken out. Then rebuilds
    // the view's columns.
    void changePos(int from, int to);
    // The same record alone: the view keeps its columns and items. False, changing
    // nothing, for a position the header does not have.
    bool move(int from, int to);
    // Moves the header sections of a view that shows this model's columns into the order
    // of cols, without touching its columns or items (fillView() ends with it).
    void placeSections();
    // Records the new width of view column `section`; the view already shows it.
    void changeSize(int section, int w);

    // What every list item does when it shows its row: the text of each shown column id k
    // goes into view column dispinv[k]. textOf(k) is asked for shown ids only, so an item
    // computes no text that stays off screen.
    template<class TextOf>
    void showItem(QTreeWidgetItem* item, TextOf&& textOf) const
    {
        for (int id = 0; id < showFlags.size(); ++id) {
            if (showFlags.at(id) != 0)
                item->setText(dispinv.at(id), textOf(id));
        }
    }
    // The same for texts already held by column id; a missing text shows empty.
    void showItem(QTreeWidgetItem* item, const QStringList& textsById) const
    {
        showItem(item, [&textsById](int id) { return textsById.value(id); });
    }

    QList<int> cols;
    QList<int> disp;
    QList<int> dispinv;
    QList<int> hid;
    QList<QString> titles;
    QList<int> showFlags;
    QList<int> width;
    QList<QString> defTitles;
    QList<int> defShow;
    QList<int> defWidth;
    // The list view the model is shown in; not owned.
    QTreeWidget* view = nullptr;

private:
    int columnCount() const { return int(cols.size()); }
    int shownCount() const;
    // placeSections() for a view whose first `first` columns are not the model's.
    void placeSectionsFrom(int first);
    bool isConsistent() const;
};
