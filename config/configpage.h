#pragma once

#include "dbcol.h"
#include "untouchedfields.h"

#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

class CarriedOut;
class DBConn;
class DBCtrl;
class DBRow;
class DBTable;
class Desktop;
class QAbstractButton;
class QComboBox;
class QLineEdit;
class QWidget;

// What every configuration page does, done once. A page derives from its form and from this
// base, names its tables and supplies what is its own: how its widgets show the rows
// (updateData), which widgets depend on which (updateObject), how the widgets are written
// into the rows (writeRows) and the checks it runs before an apply.
//
//     class WndRemote : public TWndRemote, public ConfigPage
//     WndRemote::WndRemote(parent, conn, ctrl, desktop, name, flags)
//         : TWndRemote(parent, name, flags), ConfigPage(this, parent, conn, ctrl, desktop)
//     {
//         if (loadTables({{&m_remote, "administration", dbcol_remote, EditedRow},
//                         {&m_acl, "ipaccesslist", dbcol_ipacl, ReadOnly}}))
//             start(ApplyAndReset);
//     }
//     void WndRemote::slotChange() { if (handChangeIn()) updateObject(); }
//
// A change hands in the page's whole difference (updateQuery). A change known to touch a single
// row, such as a rule's check box, hands it in through updateQueryAfterEditOf(row): the same
// pending list, which the tables make again from that row alone.
//
// A statement the server carried out is never sent again: after an apply that stopped
// part-way, the rows behind the statements the server carried out become stored at once
// (storeCarriedOut(), followed with Apply), so the next hand-in holds only the rest.
//
// Until every table has loaded and the widgets are filled the page is not ready: its change
// slot writes nothing, and a page whose load failed stays so for good, showing the form's
// widgets as built and taking no part in Apply or Reset. An answer without a column the page
// declared fails the load too (DBTable): no widget shows, and no change writes back, a cell
// the server did not send, and no rule is named by a key it did not send.
//
// Nothing is lost silently. Widgets show a stored value as well as they can: a check box is
// on or off, one of a pair of radio buttons is checked, one entry of a choice box is current,
// a number stands in a unit. A page binds each column it writes to the widgets that show it
// (bindCell), and the base remembers what those widgets show right after every fill from
// what the server holds (the first one, Reset). While they still show that, the column keeps
// the stored text (writeCell), whatever it is: a 2 behind a check box, a type the choice has
// no entry for, an empty cell. Once the administrator changes one of them, by a click, a key
// or a choice, the column takes what they show, and that change is an edit like any other.
// So the test that decides what is written is the widgets' own, never a second reading of
// the stored value that could disagree with how the page filled them. Once an apply carried
// a column out, what its widgets show is what the server holds, and the comparison starts
// again from there. A column a page leaves out holds what the server holds, not what an
// earlier keystroke or choice put there: a page never sends a value nobody entered.
// A choice box that names what a check box turns on (an exception's address group, a
// dial-up line) is the administrator's choice as soon as the administrator turns that check
// box on: what the box shows is then written with it, so that an exception never goes out
// without the group the page shows for it.
//
// A typed value is written as it is shown. One the rows cannot hold (an amount beyond its
// column, NumberFields) is held back (holdBack): it counts as an edit, so Apply and Reset
// come on and leaving the page asks about it, and every apply stops at it before anything is
// sent (stopAtBeyondColumn), the administrator sent to the field. No field changes back by
// itself.
//
// A refill from the rows (refill) is no fill from what the server holds: the rows were just
// written from the widgets, and what the widgets showed at the last fill stays the measure.
// A choice box refilled after its entries were edited (the address groups) is filled from
// what the server holds: what it shows then is its measure again, so the refill itself is
// no change, and an entry the administrator had chosen stays chosen while it exists.
//
// Calls a page makes itself, past the pending list and the table layer (askServer), wait
// as such calls do, the indicator over the window in front once the wait lasts, and tell a
// failure as every such call does (ownrequest.h): a lost connection through the console's
// lost-connection report alone, anything else in the page's own box "Operation failed.".
//
// The base is not a QObject: its connections are made with the page as context and are
// undone when the base goes, before the page's QObject part does.
class ConfigPage
{
public:
    // The controller's signals a page follows (start()).
    enum Follow {
        BeforeApply = 1,
        UpdateAgain = 2,
        Apply = 4,
        Reset = 8,
        ApplyAndReset = Apply | Reset,
        AllSignals = BeforeApply | UpdateAgain | Apply | Reset,
    };

    // The caption of the pages' questions.
    static QString caption();

    bool isReady() const { return m_ready; }

    // Fills the widgets from the rows; ready is false meanwhile, so the signals the widgets
    // give as they are set write nothing.
    virtual void updateData() = 0;
    // Enables the widgets that depend on others after the others' states.
    virtual void updateObject() {}
    // The whole difference of the edited tables, in their load order, replaces the pending
    // list; read-only tables never enter it.
    virtual void updateQuery();
    // The same when, since the last one, only the cells of `row` have changed (a rule's check
    // box, say): each table makes its difference again from that row alone, so that a toggle
    // costs the same in a list of five rules or of five thousand.
    void updateQueryAfterEditOf(const DBRow* row);

    // The answers to the controller's signals. Apply commits every table of the page and
    // Reset restores them, refills the widgets and sets the enabling again; an apply that was
    // withdrawn is handed in again by UpdateAgain. BeforeApply runs the page's checks: none
    // unless the page has some.
    virtual void slotBeforeApply() {}
    virtual void slotUpdateAgain();
    virtual void slotApply();
    virtual void slotReset();
    // After an apply that stopped part-way: the edited tables' rows behind the statements of
    // `done` become stored, each statement stored taken from `done`.
    virtual void storeCarriedOut(CarriedOut& done);

protected:
    enum TableUse {
        ReadOnly = 0,
        Edited = 1,    // enters the pending list
        SingleRow = 2, // holds exactly one row, which the widgets show; none is a failure
        Function = 4,  // name is a server function's call, as "get_auth_methods()"
        EditedRow = Edited | SingleRow,
    };

    struct TableLoad
    {
        DBTable* table;
        const char* name;
        const DBCOL* columns;
        int use; // TableUse flags
    };

    // page is the page itself; parent owns the progress window and the failure box of its
    // loads. The desktop is handed on to the address-group dialog and may be null.
    ConfigPage(QWidget* page, QWidget* parent, DBConn* conn, DBCtrl* ctrl,
               Desktop* desktop = nullptr);
    virtual ~ConfigPage();
    ConfigPage(const ConfigPage&) = delete;
    ConfigPage& operator=(const ConfigPage&) = delete;

    // Loads the tables in order with the progress window and the failure box, stopping at
    // the first that fails (the table layer has said why) or, for a single-row table, that
    // arrives without a row. False then, or when the page went away while it waited; the
    // page must then touch nothing of itself any more.
    bool loadTables(const QList<TableLoad>& loads);
    // What follows a successful load: the widgets filled, what they show remembered for each
    // bound column, the controller's signals named in `follow` (Follow flags) answered, the
    // enabling set, and the page ready.
    void start(int follow);
    // The widgets filled from the rows again, with the page not ready meanwhile; what they
    // showed at the last fill from what the server holds stays the measure of a change.
    void refill();
    // Runs `show`, which sets widgets, with the page not ready meanwhile: what it sets is
    // not written back by the signals the widgets give.
    void showUnwritten(const std::function<void()>& show);

    // The change slot's work: when the page is ready, the widgets written into the rows and
    // the statements handed in. False, doing nothing, when it is not.
    bool handChangeIn();
    // Writes every bound widget into its cell.
    virtual void writeRows() = 0;

    // One check of slotBeforeApply(): asks text (which ends in "\nDo you want to correct the
    // problem?") with Yes, No and Cancel. Yes or Cancel: the focus goes to field, whose tab
    // is brought forward, and the apply is withdrawn; true, and the checks end. No: false,
    // the checks go on.
    bool askToCorrect(const QString& text, QWidget* field);
    // Empties the pending list and the edited tables' statements without a signal: the main
    // window then finds nothing to send.
    void withdrawApply();

    // The cells of a single-row table's row, found by column name. A column the row lacks
    // reads as empty text and is never written.
    static QString cell(DBTable& table, const char* column);
    // What the server holds for the cell: the text it was loaded with or last applied as.
    static QString storedCell(DBTable& table, const char* column);
    // Puts the cell back at what the server holds.
    static void keepStored(DBTable& table, const char* column);
    static qint64 cellNumber(DBTable& table, const char* column); // leading decimal number
    static bool cellFlag(DBTable& table, const char* column);     // number not 0
    static void setCell(DBTable& table, const char* column, const QString& text);

    // Names the widgets that show the column, once, before start(): check boxes, radio
    // buttons, choice boxes, line edits, a list of check items. See the class comment.
    void bindCell(DBTable& table, const char* column, std::initializer_list<const QWidget*> widgets);
    // Whether the column's widgets show other than they did at the last fill from what the
    // server holds: the administrator changed them. True for a column never bound.
    bool isTouched(DBTable& table, const char* column) const;
    // In writeRows(): `edited`, what the widgets show in the column's form, once they were
    // changed; until then the cell keeps the stored text.
    void writeCell(DBTable& table, const char* column, const QString& edited);
    // writeCell() of "1" for on, "0" for off.
    void writeFlag(DBTable& table, const char* column, bool on);

    // Marks, while writeRows() runs, that a widget shows an edit the rows cannot hold: the
    // controller then counts the page's edits as pending though no statement stands for it.
    void holdBack() { m_holdingBack = true; }
    // One check of slotBeforeApply() for a number field whose product with its unit may lie
    // beyond its column (NumberFields::fits): nothing when it fits; otherwise the page says so
    // (NumberFields::beyondColumnText, one OK button), sends the administrator to the field
    // and withdraws the apply, whatever the answers to the other checks were. True when the
    // apply was withdrawn.
    bool stopAtBeyondColumn(const QString& what, QLineEdit* field, qint64 factor,
                            qint64 columnTop, const QString& unit = QString());

    // The check box that turns on what a choice box names, and its column in the same table.
    struct TurnedOnBy
    {
        const QAbstractButton* button;
        const char* column;
    };
    // A choice box's cell, bound to the box: `chosen` (what the box shows, in the column's
    // form) once the box was changed, or once its check box was turned on (checked, and
    // changed since the fill, so shown off). Otherwise the cell holds what the server holds.
    void writeChoice(DBTable& table, const char* column, const QString& chosen,
                     const TurnedOnBy& turnedOnBy);

    // A password field shows the placeholder; the column is written, as "NUL:" followed by
    // the field's text, only while the field holds something else: the placeholder, typed
    // back too, leaves the password the server holds. Case matters: a password differing
    // from the loaded one only in case is a new password.
    static void showPlaceholder(QLineEdit* field);
    static void writePassword(DBTable& table, const char* column, const QLineEdit* field);

    // An address-group choice box filled from a loaded "ipaccesslist" table, each group
    // once, stored chosen. A stored group the table no longer has stays an entry of its own,
    // chosen, so the row keeps it until the administrator picks another; an empty stored
    // value chooses the first group.
    static void fillGroupBox(DBTable* acl, QComboBox* box, const QString& stored);

    struct GroupBox
    {
        QComboBox* box;
        DBTable* table;     // the row the box shows a group of
        const char* column; // in this column
    };
    // The address-group "Edit" button: the dialog on shownGroup. Accepted (the dialog has
    // written its changes itself), acl is read again and each box refilled as from what the
    // server holds (fillGroupBox with the stored group): what the box then shows is the
    // measure of a change again. A group the administrator had chosen in the box stays
    // chosen while the server still holds it; a change to the box's check box stays one.
    // The rows and the pending list then follow the widgets. A failed reload leaves the
    // boxes as they were. Cancelled, acl is restored. Nothing on a page that is not ready.
    void editAddressGroups(DBTable* acl, const QString& shownGroup, const QList<GroupBox>& boxes);

    // The user and group picker over the page's own domain, user and group tables, which it
    // loads the first time it needs each and which the page keeps for the next opening.
    // True with the picker's text when the administrator chose; false on a page that is not
    // ready.
    bool pickAccount(QString* chosen);

    // The picker's tables, which the page's own checks look names up in.
    enum PickerTable { PickerDomains, PickerUsers, PickerGroups };
    DBTable* pickerTable(PickerTable which);
    // Reads the picker's users or groups now, with the progress window and the failure
    // box, unless the picker or an earlier call has. False when the read failed or the page
    // went away meanwhile. The domains are the picker's own to read.
    bool loadPickerTable(PickerTable which);

    // A call the page sends the server itself, past the table layer: no progress window over
    // the page (the indicator over the window in front once the wait lasts, ownrequest.h)
    // and no box of the table layer. A failure is told once: a lost connection by the console's
    // report of it, anything else by "Operation failed." under "Error". Answered, `rows`
    // holds each answer row's first `columns` cells as text, whatever their length.
    // PageGone: the page went while it waited and must touch nothing of itself.
    enum class Asked { Answered, Failed, PageGone };
    Asked askServer(const QString& statement, int columns, QList<QStringList>* rows);

    QWidget* page() const { return m_page; }
    QWidget* m_parent;
    DBConn* m_conn;
    DBCtrl* m_ctrl;
    Desktop* m_desktop;

private:
    struct PickerTables;
    struct BoundCell
    {
        DBTable* table;
        const char* column;
    };

    static DBRow* firstRow(DBTable& table);
    static DBRow* firstOriginal(DBTable& table);
    void answerSignals(int follow);
    // The widgets filled from what the server holds, what they show remembered, the enabling
    // set again.
    void showStored();
    // What the bound widgets show now becomes the measure of a change, for every column
    // (after a fill from what the server holds), or for those whose cell is what the server
    // holds (after an apply, whole or part-way).
    void rememberShown();
    void settleStoredCells();
    void refillGroupBoxes(DBTable* acl, const QList<GroupBox>& boxes);
    int boundIndex(const DBTable& table, const char* column) const;
    // Tells the controller whether the last writeRows() held an edit back.
    void announceHeldBack();

    QPointer<QWidget> m_page;
    bool m_ready = false;
    bool m_holdingBack = false; // the last writeRows() held an edit back
    QList<DBTable*> m_tables; // every table loaded, in order
    QList<DBTable*> m_edited; // those that enter the pending list, in order
    std::vector<BoundCell> m_bound; // named in m_shown by their index
    UntouchedFields m_shown;
    std::unique_ptr<PickerTables> m_picker;
    QList<QMetaObject::Connection> m_connections;
};
