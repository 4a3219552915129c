#pragma once

#include "columnitem.h"

#include <QList>
#include <QString>

class Cols;
class DBRow;
class QTreeWidget;

// What the user, group and template items share: the row they show and the column model
// of their list (neither owned; both outlive the item), and the sort keys of their cells
// (compared and kept as KeyedItem does).
class AccountItem : public ColumnItem
{
public:
    enum { Type = QTreeWidgetItem::UserType + 0x400 };

    // A top-level item of `list`. With a null list the owner adds the items itself, all
    // at once (QTreeWidget::addTopLevelItems): a large list fills faster that way.
    AccountItem(QTreeWidget* list, DBRow* row, Cols* cols);

    DBRow* row() const { return m_row; }
    const Cols* cols() const { return m_cols; }

    // The key the list orders view column `column` by; the direction plays no part (the
    // list reverses the order itself).
    QString key(int column, bool ascending) const override = 0;

protected:
    // The key of a list holding the shared settings, whose ids are given: the counts sort
    // as numbers, the quota by unit and number, every other column by its text and name.
    QString settingsKey(int column, int quotaId, int messagesId, int perPageId) const;

    DBRow* m_row;
};
