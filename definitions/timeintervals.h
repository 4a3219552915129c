#pragma once

#include "dbcol.h"

#include <QString>

class DBTable;
class QComboBox;

// The server's time ranges: table "timeintervals" (also spelled "TimeIntervals"), one row
// per interval, a range being every row that shares a name. `type` is 0 daily, 1 weekly,
// 2 absolute; `days` holds the digits "1" (Monday) to "7" (Sunday); `start` and `end` are
// kept as the server stores them.
enum TimeColumn { TimeName, TimeDesc, TimeType, TimeDays, TimeStart, TimeEnd };
extern const DBCOL dbcol_time[]; // name, desc and type (the key), days, start, end

// The label of a stored type: "Daily", "Weekly" or "Absolute", translated; any other
// value shows as stored.
QString timeTypeName(const QString& storedType);
// The labels of types 0, 1 and 2, in that order.
QStringList timeTypeNames();

// Fills a choice box with the range names of a loaded timeintervals table, as
// fillComboFromAcl() does with address groups.
void fillComboFromTime(DBTable* times, QComboBox* combo, QString current, bool withEmpty);
