#pragma once

#include <QIcon>
#include <QString>
#include <QTreeWidgetItem>

class Cols;
class DBRow;
class QTreeWidget;

// One service of the services page: its name with a lamp (green while it runs), its
// status, startup type, port, address-group restriction and default port, each in the view
// column the page's column model gives it. The services keep the page's order whatever
// column and direction the list is sorted by. A service that needs SSL is drawn in grey
// while the server has no SSL installed; it stays selectable and usable.
//
// The row (the first of the service's configuration table) and the column model belong to
// the page and outlive the item.
class QServiceItem : public QTreeWidgetItem
{
public:
    enum { Type = QTreeWidgetItem::UserType + 0x600 };

    // The two lamps, green and red. Drawing them costs more than building an item, so a
    // page makes them once for all its items; they must outlive the items.
    struct Lamps
    {
        Lamps();
        QIcon running;
        QIcon stopped;
    };

    // A top-level item of list; index is the service's place in the page's order.
    QServiceItem(QTreeWidget* list, DBRow* row, const QString& table, Cols* cols, int index,
                 const Lamps* lamps);

    // Writes the cells from the row and the running state.
    void show();

    bool running() const { return m_running; }
    void setRunning(bool running) { m_running = running; }

    DBRow* row() const { return m_row; }
    const QString& table() const { return m_table; }
    int index() const { return m_index; }

    // The item's place, the same for every column: ascending its index, descending 100000
    // minus it, so that either direction leaves the page's order as it is.
    QString key(int column, bool ascending) const;
    bool operator<(const QTreeWidgetItem& other) const override;

    // Grey text for an SSL service on a server without SSL.
    QVariant data(int column, int role) const override;

    // The row's cell of that column as text; empty when the row lacks it.
    static QString cellText(const DBRow* row, const char* column);

private:
    bool greyed() const;

    QString m_table;
    DBRow* m_row;
    Cols* m_cols;
    int m_index;
    QString m_ascendingKey;
    QString m_descendingKey;
    const Lamps* m_lamps;
    bool m_running = false;
};
