#pragma once

#include "cellnumbers.h"
#include "rowcells.h"

#include <QString>

class DBRow;
class DBTable;

// How the account lists turn the values of a user, group or template row into the texts
// of their cells, and those texts into sort keys. Shared by the three list items.
namespace AccountTexts {

using RowCells::cell;
// The account pages read a number from the whole text of its cell (0 for "12abc").
using CellNumbers::wholeNumber;

// "Read/write access" for both rights bits, "Read only access" for the read bit alone,
// otherwise empty: the write bit alone shows like no rights.
QString rightsLabel(int rights);
// A quota of `bytes` in the largest unit that divides it exactly ("2 KB", "1536 MB",
// "5 GB"); "0" for no quota, a negative one, or one that is no whole number of KB.
QString quotaText(qint64 bytes);
// "Yes" for a set flag, "No" for 0.
QString yesNo(int flag);
// The server's own name of the first authentication type whose ID is `id`; empty when
// the table has none.
QString authTypeName(const DBTable& authTypes, int id);

// The settings a user and a template share, in the order both lists show them.
enum class Setting {
    Authentication, Rights, Quota, QuotaMessages, SentFolder, DraftFolder, HideFolderList,
    ShowOnlySubscribed, MsgsPerPage, Language,
};
// The cell of a shared setting of a user or template row: the authentication type by its
// server name, the rights label, the quota with its unit, the flags as "Yes" or "No", the
// rest as stored.
QString settingText(const DBRow* row, Setting setting, const DBTable& authTypes);

// Sort keys, compared as text.
// A count: its leading decimal number, at least six digits with leading zeros.
QString countKey(const QString& text);
// A quota cell: "a", "b" or "c" for KB, MB or GB before its count key, so that every KB
// quota sorts before every MB quota and after "0" and other texts, which keep the bare
// count key. A letter, not punctuation: the locale's collation puts punctuation before
// digits, letters after them.
QString quotaKey(const QString& text);
// Any other cell: its text, 16 blanks and the item's name, so equal texts follow the
// order of their names.
QString textKey(const QString& text, const QString& name);

} // namespace AccountTexts
