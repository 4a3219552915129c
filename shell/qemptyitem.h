#pragma once

#include <QString>
#include <QTreeWidgetItem>

// A list row that keeps a text and the navigation-tree item it stands for, and shows the
// text once show() is called. The target is not owned.
class QEmptyItem : public QTreeWidgetItem
{
public:
    enum { Type = QTreeWidgetItem::UserType + 2 };

    QEmptyItem(QTreeWidget* list, const QString& text, QTreeWidgetItem* target);
    ~QEmptyItem() override;

    // Writes the text into the first column.
    void show();

    QTreeWidgetItem* target() const { return m_target; }

private:
    QString m_text;
    QTreeWidgetItem* m_target;
};
