#pragma once

#include "cols.h"
#include "dbcol.h"
#include "listlayout.h"
#include "t2popup.h"

#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class CarriedOut;
class DBConn;
class DBCtrl;
class DBRow;
class DBTable;
class Desktop;
class QAbstractButton;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

// What every list page of the module does, done once. A page derives from its form and
// from this base, declares its lists, loads its tables and supplies only what is its own:
// the items of its rows, its edit dialog and the message for a duplicate key.
//
//     class WndEtrn : public TWndEtrn, public ListPage
//     WndEtrn::WndEtrn(parent, conn, ctrl, desktop, name, flags)
//         : TWndEtrn(parent, name, flags), ListPage(this, conn, ctrl, desktop)
//     {
//         addList({m_list, "etrn", 2, m_btnEdit, m_btnRemove, &m_table,
//                  tr("This item is already defined!")});
//         cols().add(tr("Domain"), true, -1, false); ...
//         loadLayouts();
//         if (loadTables({{&m_table, "odmr", dbcol_odmr}}))
//             finishEditablePage();   // draw, follow Apply/Reset, first button enabling
//     }
//     void WndEtrn::slotEdit() { editCurrent(); }   // and so on for the form's slots
//
// A page may have several lists (the POP3 page has two, on two tabs); a list is named by
// the number addList() gave it, and the menu acts on currentList(). Pages that only show
// a status (queue, connections) use the status menu and no table: they ask the server
// for their rows with refreshList(), in their constructor and on "&Refresh", and again
// after every change of their columns (rebuildList(), which answers whether the rows
// came). A reload refused changes nothing on screen, and a column change that asked for
// it does not stand: the list keeps its rows, its columns and its layout, and every cell
// stays under its own title (ListLayout::setRebuild()).
//
// A page whose load failed stays unfinished: its lists get no columns, it follows neither
// Apply and Reset nor its list headers (no header menu; drags and resizes are neither
// redrawn nor saved), and its buttons keep the form's state. An answer without a column the
// page declared fails the load too (DBTable): a row is never listed, edited or named by its
// key unless the server sent every one of its cells, so no cell it did not send is written.
// Such a page edits nothing (canEdit()): Add, Edit and Remove, from the buttons, the menu
// or the keys, add no row, open no dialog and hand nothing in, since a table that was not
// loaded has no rows to compare with and a page that does not follow Apply and Reset would
// hand the same statements in again after the server carried them out. addRow(),
// editCurrent() and removeSelected() ask it themselves; a page's own add, edit or remove
// path asks it first. A list's header is followed from its first build on (ListLayout), a
// status page's from the start.
//
// Rows held across a wait. A dialog, a wizard or a lookup that works on a row of the page's
// tables waits, and a lost connection met meanwhile (by that wait or by any other request)
// drops the pending list and resets the tables, which replaces every current row. So no row
// is freed while the page holds one: every add and edit path holds the page's rows
// (holdRows()) for as long as it works on one of them, a reset that comes meanwhile is put
// off until the last hold ends, and the path asks its hold after every wait whether its rows
// went (the reset came, or the page itself went) and then stops, touching nothing it held.
// Rows are never told apart by their address: a row made later may take a freed row's.
// addRow(), editCurrent() and edit() hold rows themselves; a page's own path (a wizard, say)
// takes a hold of its own, as does a caller that goes on with a row after edit() returns.
// A table the page shows is read again with reloadTables(), never loaded in place. A reload
// or a reset replaces the rows the lists show: the lists let go of their items first, without
// a word, and the page draws them anew from the new rows, so that no handler (a selection
// change as a list is cleared, say) ever reads a row that is gone.
//
// A statement the server carried out is never sent again. An apply that stops part-way
// announces the statements the server carried out (DBCtrl::sig_carried_out); the page then
// makes the rows behind them stored at once (storeCarriedOut(): each pending table's, and
// whatever statements of its own the page hands in), so that its next hand-in, its whole
// difference again, holds only what was not carried out. followApplyAndReset() follows it.
//
// Keys. The edit loop refuses a key that another row of the table has, letter case ignored,
// unless the edit left the row's stored key as it was: the server may hold a key twice, and
// an edit that does not touch it is not the administrator's duplicate. The rule is the table
// layer's (editedkey.h), which every other editor of keyed rows follows too.
//
// Every list sorts its rows as a person reads them: a page's rows are KeyedItems, whose
// keys compare as the locale orders text (keyeditem.h).
//
// The base is not a QObject: its connections are made with the page as context and are
// undone when the base goes, before the page's QObject part does.
class ListPage : public T2Popup
{
    struct HoldState;

public:
    // The page's rows kept alive while a path works on one across a wait; see above.
    class RowHold
    {
    public:
        ~RowHold();
        RowHold(const RowHold&) = delete;
        RowHold& operator=(const RowHold&) = delete;

        // True once the page went or a reset came while rows were held: the rows the
        // holder took are gone when the last hold ends, and the holder stops now.
        bool rowsWent() const;

    private:
        friend class ListPage;
        explicit RowHold(ListPage* page);

        ListPage* m_page;
        std::shared_ptr<HoldState> m_state; // outlives the page, which marks it gone
    };

    enum class Menu {
        Editing, // "&Add...", "&Edit...", "&Remove", separator, "&Modify Columns..."
        Status,  // "&Refresh", separator, "&Modify Columns..."
    };

    // One list of the page, as the page declares it.
    struct ListSetup
    {
        QTreeWidget* view = nullptr;
        QString key;     // the layout's list name under "Admin/Mail"
        int version = 0; // the layout's version
        // Enabled for exactly one selected row, and for at least one; either may be null.
        QAbstractButton* editButton = nullptr;
        QAbstractButton* removeButton = nullptr;
        // The rows the list shows and edits; null for a list that edits nothing.
        DBTable* table = nullptr;
        QString duplicateText; // the warning when an edit gives a key another row has
    };

    struct TableLoad
    {
        DBTable* table;
        const char* name; // a table, or a function call such as "get_auth_types()"
        const DBCOL* columns;
        bool function = false;
    };

    // The "Modify Columns..." dialog of the current list.
    bool fillPopupMenu(QMenu& menu, QWidget* receiver, QTreeWidgetItem* item) override;

    // The page's whole difference replaces the pending list: the first table's statements,
    // then each further table's, in the order of pendingTables().
    virtual void updateQuery();
    // The hand-over after an edit that changed the cells of `row` alone (editCurrent()):
    // updateQuery() unless the page says otherwise. A page whose pending list is its
    // tables' difference and nothing else answers it with updateQueryFromRow().
    virtual void updateQueryAfterEdit(const DBRow* row);

    // The text the server holds in `column` of `row`, a row of one of the lists' tables: the
    // cell of the row's original, whatever the row holds now. None for a row the server does
    // not hold (added since the last load or apply) or no list's table holds. A list entry
    // judges its check box against this rather than against what it showed at its last
    // refill, which shows the row as edited (UntouchedFlag).
    std::optional<QString> storedText(const DBRow* row, const char* column) const;

protected:
    ListPage(QWidget* page, DBConn* conn, DBCtrl* ctrl, Desktop* desktop,
             Menu menu = Menu::Editing);
    ~ListPage();
    ListPage(const ListPage&) = delete;
    ListPage& operator=(const ListPage&) = delete;

    // Binds the list to a column model of its own, kept under "Admin/Mail" and the setup's
    // name and version, and gives it the page's menu. Returns the list's number.
    int addList(const ListSetup& setup);
    Cols& cols(int list = 0);
    ListLayout& layout(int list = 0);
    QTreeWidget* view(int list = 0) const;
    int listCount() const { return int(m_lists.size()); }
    // Reads each list's stored layout, once its columns are declared.
    void loadLayouts();

    // Loads each table with the progress window and the failure box over the page, in the
    // order given, and stops at the first that fails (the table layer has reported it).
    // False then, or when the page went away while it waited; the page then edits nothing
    // until a later loadTables() succeeds.
    bool loadTables(const QList<TableLoad>& loads);
    // The same for tables the page already shows: each is read into a table of its own and
    // takes the answer over only once it arrived, so the rows shown stay meanwhile and a
    // failed read leaves them as they were.
    bool reloadTables(const QList<TableLoad>& loads);

    // What an editable page does once its tables are loaded: draws every list, commits and
    // restores the tables on Apply and Reset, and sets the first enabling of the buttons.
    void finishEditablePage();
    // Commits on Apply and restores on Reset, and stores what a stopped apply carried out;
    // done by finishEditablePage().
    void followApplyAndReset();

    // Rebuilds the list's columns from its model and has fillItems() put in the items.
    void updateView(int list = 0);
    // "&Edit..." for exactly one selected row, "&Remove" for one or more.
    void updateButtons(int list = 0);
    // The row Edit acts on: the one selected row, where exactly one is selected (the current
    // row may lie outside the selection); else the current one, which the menu's Edit was
    // opened on.
    QTreeWidgetItem* itemToEdit(int list = 0) const;
    // itemToEdit() through the edit loop; redraws it and hands over when the edit is kept.
    // Nothing without such an item.
    void editCurrent(int list = 0);
    // Every selected row out of the table and its item deleted, then the hand-over (also
    // when nothing was selected). No question is asked.
    void removeSelected(int list = 0);
    // A new row at the end of the list's table, given its presets, through the edit loop:
    // kept, it gets an item and is handed over; cancelled, it is taken out again.
    // Nothing, and null, for a list that edits nothing (canEdit()).
    template<class Presets>
    DBRow* addRow(int list, Presets&& presets)
    {
        if (!canEdit(list))
            return nullptr;
        DBRow* row = appendRow(list);
        presets(row);
        return keepAddedRow(list, row);
    }
    // The list's column dialog; an accepted change redraws and is saved.
    void modifyColumns();

    // What ListPage::updateQuery() hands over, the same list, but made from the edited row
    // alone where the tables are as their last difference left them but for that row's
    // cells (DBTable::diffAfterEditOf): an edit in a long table then compares one row, not
    // every row with its original.
    void updateQueryFromRow(const DBRow* row);
    // Makes each pending table's difference without handing it over, for a page that hands
    // in its edits with updateQueryFromRow(): after an Apply or a Reset, which replace the
    // rows or the originals wholesale, the next edit then needs no whole difference.
    void makeDifferences();

    // Status pages: asks the server again for the rows of the list (shown only, so the table
    // keeps no originals), without the progress window over the page (a wait that lasts
    // shows the indicator over the window in front all the same, DBReq::wait) and without
    // the failure box (a lost connection is still reported, once, by the table layer).
    // Loaded, the list is rebuilt from the table and its buttons follow the selection among
    // the new rows. Refused, the list keeps what it shows: the table is empty then, so the
    // items of a refreshed list keep copies of what they show and act on. False when the
    // load failed or the page went away while it waited.
    bool refreshList(int list, const TableLoad& load);

    // The edit loop on a row the table holds. Runs the page's dialog on the row until it is
    // cancelled or the row's key clashes with no other row of the list's table (or is the
    // key it had); every clash is refused with the list's duplicate text and the dialog opens
    // again on the values just entered. A cancel anywhere in the chain puts the row back as
    // it was before the first dialog. True when the edit is kept. False also when the rows
    // went under a dialog (RowHold), and then nothing of the page, the row included, is
    // touched any more.
    bool edit(int list, DBRow* row);

    // Whether the list may be edited: its page's last loadTables() did not fail, and its
    // table, if it has one, was loaded. See the class comment.
    bool canEdit(int list = 0) const;
    // Whether `row` of the list's table is one the server does not hold yet (added since the
    // last load or apply): its insert carries every cell, so a dialog on it writes what its
    // fields show (UntouchedFields::setNewRow). False for a list without a table.
    bool isNewRow(int list, const DBRow* row) const;

    // Holds the page's rows; see the class comment.
    RowHold holdRows();
    // While rows are held: whether they went (a reset came meanwhile). A page's dialog hook
    // asks it after the dialog's own loads, before it shows the dialog.
    bool heldRowsWent() const;
    // Answers the controller's Reset: resetTables() now or, while rows are held, once the
    // last hold ends. followApplyAndReset() connects it; a page whose Reset another base
    // answers calls it from there.
    void answerReset();
    // Makes every pending table its originals again and redraws (afterReset()). A page whose
    // Reset is another base's does that base's reset here instead.
    virtual void resetTables();

    // Hooks for the page.
    // The list's view has its columns and no items: create one per row to show.
    virtual void fillItems(int list) = 0;
    // The row behind an item of the list; none for the items of a refreshed list.
    virtual DBRow* rowOf(int list, QTreeWidgetItem* item) const;
    // A new item for a row just added, shown.
    virtual QTreeWidgetItem* newItem(int list, DBRow* row);
    // Writes the row's texts into its item again after an edit.
    virtual void showItem(int list, QTreeWidgetItem* item);
    // Runs the page's dialog on the row; true when it was accepted and wrote its fields
    // into the row, false when it was cancelled (the row then is as it was) or not shown.
    virtual bool runEditDialog(int list, DBRow* row);
    // The tables whose difference makes the pending list, committed by Apply and restored
    // by Reset: the lists' tables in list order, unless the page says otherwise.
    virtual QList<DBTable*> pendingTables() const;
    // What redraws the list after a header drag or an accepted "Modify Columns" dialog:
    // updateView() from the rows held; a status page overrides it to ask the server again
    // (refreshList()). True when the list was drawn anew; false keeps the layout it had.
    virtual bool rebuildList(int list);
    // The list the menu's entries act on.
    virtual int currentList() const { return 0; }
    // After an apply that stopped part-way: makes stored what the server carried out of what
    // the page handed in, taking each statement stored from `done`. Each pending table's rows
    // unless the page says otherwise; a page that hands in statements of its own stores
    // those too, in the order it hands them in.
    virtual void storeCarriedOut(CarriedOut& done);
    // On Apply, once the tables are committed, and on Reset, once they are restored.
    virtual void afterApply() {}
    virtual void afterReset();

    // The caption of the page's warnings.
    static QString caption();

    QWidget* page() const { return m_page; }
    DBConn* m_conn;
    DBCtrl* m_ctrl;
    Desktop* m_desktop;

private:
    struct ListState;

    ListState& state(int list) const;
    // The load `load` names (a table, or a function's answer), into `into`.
    bool read(DBTable& into, const TableLoad& load, int flags) const;
    // resetTables() once every list has let go of its items (letGoOfItems()).
    void resetNow();
    // Before the rows the lists show are replaced (a reset, a table read again): every list
    // takes its items out without a word, so that none is left pointing at a freed row for
    // a handler to read. The page draws its lists anew from the new rows (updateView()),
    // which tells a selection that went.
    void letGoOfItems();
    // Loads each table in order, stopping at the first failure; a shown one through a table
    // of its own (reloadTables()).
    bool readTables(const QList<TableLoad>& loads, bool shown);
    DBRow* appendRow(int list);
    DBRow* keepAddedRow(int list, DBRow* row);
    // The edit loop; a row just added has no stored key to keep.
    bool editRow(int list, DBRow* row, bool added);
    static void restoreRow(DBRow* row, const DBRow& before);
    void applyTables();

    QPointer<QWidget> m_page;
    Menu m_menu;
    std::vector<std::unique_ptr<ListState>> m_lists;
    QList<QMetaObject::Connection> m_connections;
    std::shared_ptr<HoldState> m_holds;
    bool m_loadFailed = false;
};
