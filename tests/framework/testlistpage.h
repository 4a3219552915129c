#pragma once

// A list page as the product's list pages are built, for the tests and the benchmark: one
// list of string rows whose columns follow a Cols model bound through ListLayout.

#include "cols.h"
#include "listlayout.h"
#include "t2popup.h"

#include <QList>
#include <QStringList>
#include <QWidget>

class Desktop;
class QTreeWidget;

struct TestColumn
{
    QString title;
    bool shown;
};

class TestListPage : public QWidget, public T2Popup
{
    Q_OBJECT

public:
    static const char* const section; // "Admin/Mail"
    static const char* const listName; // "testlist"
    static const int version = 2;

    TestListPage(Desktop* desktop, const QList<TestColumn>& columns,
                 const QList<QStringList>& rows, QWidget* parent = nullptr);

    QTreeWidget* list() const { return m_list; }
    Cols& cols() { return m_cols; }
    ListLayout& layout() { return m_layout; }

    // New rows, shown at once.
    void setRows(const QList<QStringList>& rows);

    // The texts of the top-level entry `row` (the header's for -1) as they stand on screen,
    // left to right.
    QStringList visibleRow(int row) const;
    QStringList headerTitles() const { return visibleRow(-1); }

    // Counts the menus asked for and notes their item; shows them only when `showMenus`.
    bool fillPopupMenu(QMenu& menu, QWidget* receiver, QTreeWidgetItem* item) override;

    // Whether fillItems() makes rows of one KeyedItem class and puts them in with
    // ListLayout::addRows(), as the long lists do, instead of plain items.
    bool keyedRows = false;
    // The keys the keyed rows made, counted over the page's life.
    int keysMade = 0;

    int fillCount = 0;
    int slotColsCount = 0;
    bool sortingDuringLastFill = false;
    bool showMenus = true;
    int menus = 0;
    QTreeWidgetItem* menuItem = nullptr;

public slots:
    void slotCols();

private:
    void fillItems();

    QTreeWidget* m_list;
    Cols m_cols;
    ListLayout m_layout; // after the model it binds
    QList<QStringList> m_rows;
};
