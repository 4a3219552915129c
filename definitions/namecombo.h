#pragma once

#include <QString>

class DBTable;
class QComboBox;

// What both choice-box fillers do: the texts of one column of a table, each once in row
// order, after an optional empty entry; `current` chosen when present, else the first.
void fillComboWithNames(DBTable* table, const char* nameColumn, QComboBox* combo,
                        const QString& current, bool withEmpty);
