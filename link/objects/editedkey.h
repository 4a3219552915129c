#pragma once

class DBRow;
class DBTable;

// Whether an edited row of table may keep the key it now has; before is the row as it was
// before the edit. The server may hold a key twice, or in two letter cases that a duplicate
// check does not tell apart: a key the administrator left exactly as it was is never refused,
// whatever other row holds it too. Any other key only when no other row of the table has
// it, letter case ignored.
bool editedKeyAccepted(DBTable &table, DBRow *row, const DBRow &before);
