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
#include <vector>

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
// after every change of their columns (rebuildList()).
//
// Every list sorts its rows as a person reads them: a page's rows are KeyedItems, whose
// keys compare as the locale orders text (keyeditem.h).
//
// The base is not a QObject: its connections are made with the page as context and are
// undone when the base goes, before the page's QObject part does.
class ListPage : public T2Popup
{
public:
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
    // False then, or when the page went away while it waited.
    bool loadTables(const QList<TableLoad>& loads);

    // What an editable page does once its tables are loaded: draws every list, commits and
    // restores the tables on Apply and Reset, and sets the first enabling of the buttons.
    void finishEditablePage();
    // Commits on Apply and restores on Reset; done by finishEditablePage().
    void followApplyAndReset();

    // Rebuilds the list's columns from its model and has fillItems() put in the items.
    void updateView(int list = 0);
    // "&Edit..." for exactly one selected row, "&Remove" for one or more.
    void updateButtons(int list = 0);
    // The list's current item through the edit loop; redraws it and hands over when the
    // edit is kept. Nothing without a current item.
    void editCurrent(int list = 0);
    // Every selected row out of the table and its item deleted, then the hand-over (also
    // when nothing was selected). No question is asked.
    void removeSelected(int list = 0);
    // A new row at the end of the list's table, given its presets, through the edit loop:
    // kept, it gets an item and is handed over; cancelled, it is taken out again.
    template<class Presets>
    DBRow* addRow(int list, Presets&& presets)
    {
        DBRow* row = appendRow(list);
        presets(row);
        return keepAddedRow(list, row);
    }
    // The list's column dialog; an accepted change redraws and is saved.
    void modifyColumns();

    // Status pages: asks the server again for the rows of the list, without the progress
    // window and without the failure box (a lost connection is still reported, once, by the
    // table layer). Loaded, the list is rebuilt from the table and its buttons follow the
    // selection among the new rows. Refused, the list keeps what it shows: the table is
    // empty then, so the items of a refreshed list keep copies of what they show and act
    // on. False when the load failed or the page went away while it waited.
    bool refreshList(int list, const TableLoad& load);

    // The edit loop. Runs the page's dialog on the row until it is cancelled or the row's
    // key clashes with no other row of the list's table; every clash is refused with the
    // list's duplicate text and the dialog opens again on the values just entered. A
    // cancel anywhere in the chain puts the row back as it was before the first dialog.
    // True when the edit is kept. False also when the page went away under a dialog, and
    // then nothing of the page, the row included, is touched any more.
    bool edit(int list, DBRow* row);

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
    // updateView() from the rows held; a status page overrides it to ask the server again.
    virtual void rebuildList(int list);
    // The list the menu's entries act on.
    virtual int currentList() const { return 0; }
    // On Apply, once the tables are committed, and on Reset, once they are restored.
    virtual void afterApply() {}
    virtual void afterReset();

    // The caption of the page's warnings.
    static QString caption();
    // Whether the row is one of the table's current rows. A Reset while a dialog waits
    // (a lost connection drops the pending list) replaces them all.
    static bool holdsRow(const DBTable& table, const DBRow* row);

    QWidget* page() const { return m_page; }
    DBConn* m_conn;
    DBCtrl* m_ctrl;
    Desktop* m_desktop;

private:
    struct ListState;

    ListState& state(int list) const;
    DBRow* appendRow(int list);
    DBRow* keepAddedRow(int list, DBRow* row);
    static void restoreRow(DBRow* row, const DBRow& before);
    void applyTables();
    void resetTables();

    QPointer<QWidget> m_page;
    Menu m_menu;
    std::vector<std::unique_ptr<ListState>> m_lists;
    QList<QMetaObject::Connection> m_connections;
};
