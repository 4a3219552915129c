#pragma once

#include "dbcol.h"

#include <QString>

class DBRow;

// The statements the table layer sends. Table and column names are written as they
// stand; every value is written between apostrophes after escape().

// "insert T set a='1', b='x', c='v'": every column, key or not, null or not.
QString make_insert(DBRow *row, const QString &table);

// "update T set c='v' where a='1' and b='x'" with the changed columns of cur in the
// set part and the key columns of orig in the where part (so a changed key stands
// with its new value in the one and its old value in the other). A table without
// key columns gets no where part. A null string when no column differs.
//
// Cells are compared exactly, so every edit the administrator can see, a change of
// letter case included, reaches the server. nocase is accepted for the callers'
// sake and changes nothing: case-insensitive comparison serves duplicate-key checks
// (DBTable::check_primary_key), never change detection.
QString make_update(DBRow *orig, DBRow *cur, const QString &table, bool nocase);

// "delete from T where a='1' and b='x'" over the key columns of row.
QString make_remove(DBRow *row, const QString &table);

// "select a, b, c from T", with " where " and the where text appended when where is
// given. fields, when given, stands in for the column list. where and fields are
// UTF-8 and are written unchanged: whoever builds them escapes their values.
QString make_select(const DBCOL *cols, const QString &table, const char *where = nullptr,
                    const char *fields = nullptr);

// "select get_auth_types()": a server function call.
QString make_call(const QString &call);
