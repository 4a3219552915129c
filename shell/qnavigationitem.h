#pragma once

#include <QTreeWidgetItem>

// A row of a navigation list page: a title with an icon, a description, and the item of
// the navigation tree that the row stands for. The row belongs to its list; the target
// belongs to the tree and is neither owned nor touched by the row.
class QNavigationItem : public QTreeWidgetItem
{
public:
    enum { Type = QTreeWidgetItem::UserType + 1 };

    // Placed directly after the row given (first in the list when that is null).
    QNavigationItem(QTreeWidget* list, QTreeWidgetItem* after, const QString& title,
                    const QString& description, QTreeWidgetItem* target);
    ~QNavigationItem() override;

    QTreeWidgetItem* target() const { return m_target; }

private:
    QTreeWidgetItem* m_target;
};
