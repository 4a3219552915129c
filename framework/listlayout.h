#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class Cols;
class Desktop;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class T2Popup;

// What every list page does with its column model, done once: it ties the page's Cols to
// the page's list view, keeps the layout in the workspace's settings store, follows the
// administrator's drags and resizes in the header, and runs the "Modify Columns" dialog.
// It owns nothing. A page holds one per list, declared after the Cols it binds (its
// destructor still saves a change that is pending), and needs only:
//
//     m_layout(&m_cols, m_list, this)                       // binds m_cols to m_list
//     m_layout.setStorage(desktop, "Admin/Mail", "group", 2);
//     m_layout.setPopup(this);                              // the page's T2Popup menu
//     m_cols.add(tr("Name"), true, -1, false); ...          // declare the columns
//     m_layout.load();
//     connect(&m_layout, &ListLayout::fillItems, this, &Page::fillItems);
//     m_layout.updateView();                                // whenever rows or layout change
//     void Page::slotCols() { m_layout.modifyColumns(); }
//
// Header drags and resizes are recorded once each and saved. The binding's own rebuilds
// move and resize sections too; those are not the administrator's and are ignored. A drag
// rebuilds the view from a queued call: the header is never rebuilt inside its own signal.
//
// The header is followed (drags, resizes, its menu) from the view's first build on, or
// once followHeader() is called: a page whose load failed never builds its list, and its
// header stays as the form made it, without a menu, its drags neither redrawn nor saved.
// The sort arrow shows as the form set it: a list whose form hides it keeps it hidden.
class ListLayout : public QObject
{
    Q_OBJECT

public:
    // `page` is the parent of the "Modify Columns" dialog and the receiver of the menu.
    ListLayout(Cols* model, QTreeWidget* view, QWidget* page, QObject* parent = nullptr);
    ~ListLayout() override;

    // Where the layout is kept. Without a workspace (null) nothing is loaded or saved.
    void setStorage(Desktop* desktop, const QString& section, const QString& list, int version);
    // Right button on an entry, on empty space and, once it is followed, on the header
    // shows popup's menu.
    void setPopup(T2Popup* popup);
    // Follows the header from now on, before any build: for a list that follows it
    // whether or not its rows ever arrive.
    void followHeader();
    // What redraws the list after a header drag or an accepted "Modify Columns": by default
    // updateView(), from the rows the page holds; a list that shows what the server says
    // at the moment of asking asks again, and answers whether the rows came. The rebuild
    // may wait for the server, and the page with this binding may go meanwhile: nothing is
    // saved then.
    //
    // A layout change stands only with the rebuild it asked for. When the rows did not
    // come (the server refused the reload), the view still shows the columns it had, with
    // items that read their cells through the model: the model goes back to what it was
    // before the change, a dragged header section back to its place, and nothing is
    // saved. Every cell then stays under its own title and nothing on screen changes.
    void setRebuild(std::function<bool()> rebuild);

    void load();
    void save();

    // Rebuilds the view's columns from the model and has the page create its items
    // (fillItems()), and follows the header from now on. The old items go without a word
    // (dropItems()); once the new ones are in, the view tells that its selection changed
    // if one went with them, so that the page's handler reads only items of the new rows.
    // Sorting is held off while the items go in and done once after;
    // the column sorted by stays the same column, wherever the layout has moved it.
    // Columns of automatic width are then fitted to their contents and title, with room for
    // the sort arrow when the list sorts: whichever of them is sorted by shows all its title.
    void updateView();

    // For the page's fillItems(): puts its rows into the view at once, in the order the list
    // shows them when it sorts. A list whose rows all came in one call of this, as rows of
    // one KeyedItem class that orders by its keys alone (KeyedItem::sortInListOrder), is not
    // sorted again when sorting comes back on; the arrow, header clicks and the order shown
    // stay as the list's own sort makes them.
    void addRows(QList<QTreeWidgetItem*> rows);

    // The page's slotCols(): runs the "Modify Columns" dialog on a copy of the model and,
    // when it is accepted, takes the result, rebuilds the view and saves. Returns whether
    // the model changed hands and kept the result (see setRebuild()).
    bool modifyColumns();

    // Takes the items out of the view without a signal, before the rows they stand for go:
    // for a page being destroyed, whose items read rows and models that go before the view
    // does, and for rows about to be replaced (a reset, a table read again), which the page
    // draws anew with updateView(). A selection that went is told by that rebuild.
    void dropItems();

signals:
    // The view has its columns and no items: create one per row now. Items write the value
    // of column id k into view column dispinv[k] when showFlags[k] is set (Cols::showItem).
    void fillItems();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A sort column of the view and its direction.
    struct SortedBy
    {
        int column;
        Qt::SortOrder order;
    };

    static SortedBy followSortedColumn(const SortedBy& before, const QList<int>& oldDisp,
                                       const Cols& model, int columnCount);
    void connectHeaderMenu();
    // Turns sorting on by `sorted`, sorting the rows again unless addRows() put them all
    // in that order.
    void enableSorting(const SortedBy& sorted);
    void onSectionMoved(int logicalIndex, int oldVisualIndex, int newVisualIndex);
    void onSectionResized(int logicalIndex, int oldSize, int newSize);
    void applyMove(int from, int to);
    void fitAutomaticColumns();
    void saveSoon();
    void savePending();
    void showMenu(QWidget* area, const QPoint& pos, bool onItems);
    // Redraws after a layout change and saves it; nothing once this binding is gone. A
    // rebuild whose rows did not come puts the model back to `before` (setRebuild()).
    // Returns whether the change stands.
    bool rebuildAndSave(const Cols& before);
    // The view shows `before` still: the model takes it back, and the header its order.
    void keepShownLayout(const Cols& before);

    Cols* m_model;
    QPointer<QTreeWidget> m_view;
    QPointer<QWidget> m_page;
    T2Popup* m_popup = nullptr;
    std::function<bool()> m_rebuild;

    QPointer<Desktop> m_desktop;
    QString m_section;
    QString m_list;
    int m_version = -1;

    // Set while the binding itself changes the header.
    bool m_rebuilding = false;
    bool m_followingHeader = false;
    // A mouse button is down on the header: a resize in progress is saved once, on release.
    bool m_headerPressed = false;
    bool m_savePending = false;
    // dropItems() took selected items: the next rebuild tells the selection's change.
    bool m_selectionDropped = false;
    // disp as the view's columns were last built, to find the sorted column's id.
    QList<int> m_builtDisp;
    // While updateView() has the page create its rows: the order they go in, when the list
    // sorts, and how many of them addRows() put in that order (-1: not all in order).
    std::optional<SortedBy> m_fillOrder;
    int m_rowsInOrder = 0;
};
