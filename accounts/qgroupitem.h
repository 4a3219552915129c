#pragma once

#include "accountitem.h"

class Cols;
class DBRow;
class QTreeWidget;

// One group of a list: the groups page's name, description and rights, or the short form
// beside users ("[name]" and the description).
class QGroupItem : public AccountItem
{
public:
    enum Column { Name, Description, Rights };

    QGroupItem(QTreeWidget* list, DBRow* row, Cols* cols);

    // Declares the groups page's columns: name and description shown, rights hidden.
    static void addColumns(Cols& cols);

    // Name (with the icon), description and rights label from a row of dbcol_group.
    void show();
    // "[" name "]" (with the icon) and the description; rights are never shown.
    void show_min();

    // Every column, rights included, sorts by its text, 16 blanks and the name column's text.
    QString key(int column, bool ascending) const override;
};
