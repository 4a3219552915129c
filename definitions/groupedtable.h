#pragma once

#include "dbtable.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class DBConn;
class QWidget;

// A server table whose rows fall into named sets: the rows that share the text of the name
// column make one address group or one time range. The definition dialogs and pages work
// on the sets through this; the rows stay in the table, which it owns.
class GroupedTable
{
public:
    GroupedTable(const char* table, const DBCOL* columns, const char* nameColumn);
    ~GroupedTable();
    GroupedTable(const GroupedTable&) = delete;
    GroupedTable& operator=(const GroupedTable&) = delete;

    // Loads the whole table (DBTable::select's flags); false after a failure, which the
    // table layer has reported, and which leaves no rows.
    bool load(QWidget* parent, DBConn* conn, int flags);
    bool isLoaded() const { return m_table.m_loaded; }

    struct Set
    {
        QString name;
        QList<DBRow*> rows;
    };

    // Each name once, in row order.
    QStringList names() const;
    // Each set once, in the order of names(), with its rows as rowsOf() gives them: in one
    // pass over the rows, so that a page lists a table of any size in time that grows with
    // its rows, not with its rows times its sets.
    QList<Set> sets() const;
    // Whether a set of that name exists, letter case ignored.
    bool hasName(const QString& name) const;
    // The rows of one set, in row order; exact names.
    QList<DBRow*> rowsOf(const QString& name) const;
    QString nameOf(const DBRow* row) const;

    // A new row of the set `name`, every other value null. Needs a loaded table.
    DBRow* append(const QString& name);
    void remove(DBRow* row);
    void removeSet(const QString& name);
    void renameSet(const QString& from, const QString& to);
    // Whether another row has the same key, letter case ignored. For an edited row, before
    // is the row as it was: a key the edit left as it was never clashes (editedkey.h).
    bool clashes(DBRow* row, const DBRow* before = nullptr);

    // Sends every change at once. True when each statement reached the server (or there
    // was none). After a failure or Abort, which the table layer has reported, the changes
    // the server carried out are stored and the rows keep every other change: the next
    // sendNow() sends only those.
    bool sendNow();
    // Whether a sendNow() got any statement through: the server holds changes of this copy.
    bool changedServer() const { return m_changedServer; }

    DBTable& table() { return m_table; }
    const DBTable& table() const { return m_table; }

private:
    int nameColumn(const DBRow* row) const;

    DBTable m_table;
    const char* m_tableName;
    const DBCOL* m_columns;
    const char* m_nameColumn;
    bool m_changedServer = false;
    // Cleared by the destructor: a send whose wait let the owner destroy the table finds
    // out when the wait returns.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
