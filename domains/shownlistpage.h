#pragma once

#include "dbtable.h"
#include "listpage.h"

#include <QStringList>

class QTreeWidget;

// A list page that shows one server table and edits nothing: the domains and the aliases.
// It reads the table when it is built and again after every Apply and Reset of the main
// window, since other pages' changes may have reached it, unless the connection is known to
// be lost: then it keeps showing what it holds. Its menu only modifies columns.
class ShownListPage : public ListPage
{
public:
    bool fillPopupMenu(QMenu& menu, QWidget* receiver, QTreeWidgetItem* item) override;

protected:
    struct Table
    {
        const char* name;
        const DBCOL* columns;
    };

    ShownListPage(QWidget* page, DBConn* conn, DBCtrl* ctrl, Desktop* desktop, const Table& table);

    // The page's one list, its layout kept under "Admin/Mail".
    void addShownList(QTreeWidget* list, const QString& key, int version);
    // Once the columns are declared: reads the layout and the table, draws and follows the
    // main window.
    void start();

    // The cells of a row by column id.
    virtual QStringList textsById(const DBRow* row) const = 0;

    void fillItems(int list) override;
    DBRow* rowOf(int list, QTreeWidgetItem* item) const override;
    // Nothing of the page is pending: the table is read again.
    void afterApply() override;
    void afterReset() override;

    DBTable m_table;

private:
    void reload();

    Table m_source;
};
