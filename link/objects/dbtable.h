#pragma once

#include "dbcol.h"
#include "dbrow.h"

#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class CarriedOut;
class DBConn;
class DiffMemo;
class QWidget;

// A client-side copy of one server table, or of the answer of a server function:
// the rows as they are now (m_rows, edited in place by the pages), the rows as they
// were loaded or last committed (m_orig), and the statements that turn the one into
// the other (m_statements, rebuilt by diff()).
//
// Pages hold their tables as members and hand pointers to them to their dialogs. A
// table must be loaded before rows are appended to it: append() uses the column
// table of the last load. The table owns all its rows; everything runs on the GUI
// thread.
//
// Nothing is written that the server did not send. A load keeps a row only when the answer
// carried a cell for every column the page declared: an answer with fewer columns than
// asked for (a server of another version, or one that answers short), or a row short of a
// cell, is refused as a whole, as a refused statement is, with "Query failed: The server's
// answer lacks these columns of <table>: <names>". A cell the answer did not carry would
// otherwise stay a null value, which a page shows as empty or 0 and writes back, and which
// in a key column names a row the server never named. So a loaded table holds only values
// the server sent, and every page whose load fails is left with nothing to edit.
//
// A column the server keeps in another type than the page declares (a number kept as text,
// say) is read as the answer describes it, never as bytes of the declared type, and its
// cells are taken over through their text. A text the declared kind cannot hold as it is
// stays the row's as the server sent it (DBRow::keepText): the load is not refused for it,
// since the page can still show and edit everything else, and whatever the page does not
// change is written back, and names its row, exactly as stored.
//
// A statement the server carried out is never sent again: the row behind it becomes
// stored at once, whatever happens to the statements after it. An apply that stops
// part-way (a refusal, a lost connection, Abort), this table's own send or the main
// window's, hands the statements it got through to storeCarriedOut(); the rows behind
// the others keep their originals, so that the next diff() gives exactly those again.
class DBTable
{
public:
    // Flags of select() and function(), combined.
    enum LoadFlag {
        // The wait indicator over the given parent; without, over the main window; on the
        // modal dialog in front when either lies below it (DBReq::wait). Either way
        // "&Abort" refuses the load.
        WaitWithProgress = 1,
        ReportRefusal = 2,    // show "Query failed: %1" when the server refuses
        // The rows are only shown: no originals are kept, which halves what a long answer
        // costs. Such a table is not for diff(), apply() or reset().
        WithoutOriginals = 4,
    };

    // Reasons check_primary_key() gives for a key it refuses.
    enum KeyReason {
        KeyAccepted = 0,
        KeyEmpty = 10,       // a key text is empty
        KeyNullAddress = 11, // an IPADDR key is "0.0.0.0"
        KeyZeroPort = 12,    // a PORT key reads as 0
        KeyZeroNumber = 13,  // an INT or INT64 key reads as 0
    };

    using RowList = std::vector<std::unique_ptr<DBRow>>;

    DBTable();
    ~DBTable();
    DBTable(const DBTable &) = delete;
    DBTable &operator=(const DBTable &) = delete;

    // Loads "select <columns> from <table> [where <where>]": where and fields are
    // written unchanged (fields replaces the column list). True when the rows were
    // loaded; false after a failure, which leaves the table without rows. A lost
    // connection is always reported, a refused statement or a short answer (see above)
    // with ReportRefusal.
    bool select(QWidget *parent, DBConn *conn, const char *table, const DBCOL *cols,
                int flags, const char *where = nullptr, const char *fields = nullptr);
    // Loads the answer of "select <call>", for instance "select get_auth_types()".
    bool function(QWidget *parent, DBConn *conn, const char *call, const DBCOL *cols,
                  int flags);

    // A new row of null values at the end of m_rows; diff() turns it into an insert.
    DBRow *append();
    // Takes the row out of m_rows and destroys it (its original makes a delete); a
    // row that is not there is ignored.
    void remove(DBRow *row);

    // True when no other current row has the same key. Keys are compared column by
    // column, with nocase ignoring letter case. A row object is not its own
    // duplicate, but a copy of it is. With reason given, an empty key text, a key
    // address 0.0.0.0 or a key port or number 0 is refused first (KeyReason).
    bool check_primary_key(DBRow *row, int *reason, bool nocase);

    // Whether the server holds the row: it has an original (it was loaded, or committed
    // since). A row without one goes to the server whole, as an insert.
    bool hasOriginal(const DBRow *row) const;
    // The row as the server holds it (its original, paired by identity number); null for a
    // row the server does not hold, or one this table does not hold. Marks nothing.
    const DBRow *originalOf(const DBRow *row) const;

    // The position in m_orig of the original with identity number id, marked
    // m_matched; -1 when there is none.
    int findorig(int id);

    // Rebuilds m_statements: the deletes for the originals that have no current row,
    // in m_orig order, then the inserts and updates in m_rows order. The list stays
    // the table's; it is valid until the next diff, load or the table's end.
    QStringList *diff(bool nocase);
    // diff() once more when, since the last diff(), only the cell values of `row` have
    // changed (a page that toggled one rule, say): the same list, made from that row alone.
    // When the table is not as the last diff() left it (rows added, removed, moved or
    // replaced, a row's identity number changed, the table loaded, committed or restored, its
    // statements emptied), it is diff() itself. For a row the table does not hold, the list
    // stays as it is.
    QStringList *diffAfterEditOf(const DBRow *row, bool nocase);

    // With send false: makes the current rows the new originals when there are
    // statements (the main window has sent them). With send true: sends the statements
    // one by one behind a wait indicator over m_parent, stopping at the first failure
    // (which is reported) or at the indicator's "&Abort" (reported as a refused
    // statement with no text), and makes stored the rows whose statements the server
    // carried out. False when a statement did not get through: it and those after it
    // stay the table's difference.
    bool apply(bool send);

    // Makes stored the rows behind the statements of `done` that the table's difference
    // gives now: an update's original takes the row's values, an insert's row gets an
    // original, a delete's original goes. Each statement stored is taken from `done`; the
    // others stay for their other owners. m_statements becomes what is still to be sent,
    // as diff() would give it. Returns how many statements were stored.
    int storeCarriedOut(CarriedOut &done);

    // Makes the current rows copies of the originals again.
    void reset();

    // Exchanges everything the two tables hold (rows, originals, statements and what the
    // last load set), but not their lives. A table that is shown is read again into a table
    // of its own, which hands the answer over only once it arrived: a load starts by
    // dropping the rows, and a failed one leaves none.
    void swap(DBTable &other);

    DBConn *m_conn = nullptr;         // of the last load, not owned
    QString m_table;                  // table name, or the call of function()
    RowList m_rows;                   // current rows
    RowList m_orig;                   // originals
    const DBCOL *m_cols = nullptr;    // of the last load
    int m_flags = 0;                  // of the last load
    QPointer<QWidget> m_parent;       // of the last load; parents apply()'s indicator
    bool m_loaded = false;            // set by every successful load, never cleared
    QStringList m_statements;

private:
    // How the rows pair with their originals by identity number, wherever they stand.
    struct Difference
    {
        std::vector<int> originalOf;      // per row: its original's position, or -1
        std::vector<bool> matched;        // per original: some row pairs with it
        std::vector<QString> rowStatements; // per row: its insert or update, or none
    };

    bool load(QWidget *parent, DBConn *conn, const QString &name, const DBCOL *cols,
              int flags, const QString &statement);
    bool sendStatements();
    void commitAll();
    Difference pairRowsWithOriginals(bool nocase) const;
    // diff()'s two ways: rows paired with the originals in their places, when that pairing
    // is the one by identity (false, having done nothing that counts, when it is not); and
    // rows paired with originals by identity number, wherever they stand.
    bool diffInPlace(bool nocase);
    void diffByIdentity(bool nocase);
    static void copyRows(const RowList &from, RowList &to);
    std::unique_ptr<DiffMemo> m_memo; // what the last diff() found

    // Cleared by the destructor, so that a load or a send whose wait let the owner
    // destroy the table notices it when the wait returns.
    std::shared_ptr<bool> m_alive;
};
