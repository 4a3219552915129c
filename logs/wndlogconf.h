#pragma once

#include "dblog.h"
#include "dbtable.h"
#include "tconflog.h"
#include "untouchedflag.h"

#include <QHash>
#include <QPointer>

class DBConn;
class QTreeWidgetItem;

// "Logging Messages": the server's debug events from "DebugList()" as a tree of check
// boxes under their group headings, in the server's order under each parent. "&Ok" writes
// the state of every switchable row with one "update DebugEvent set ..." statement and
// closes the dialog whether the server took it or not (a failure is told as every window's
// own request tells it, ownrequest.h); "&Cancel" sends nothing. A row whose parent came in
// no earlier row ends the tree there and disables "&Ok".
class WndLogConf : public TConfLog
{
    Q_OBJECT

public:
    // conn is not owned; log is copied. Loads the events and fills the tree before it
    // returns.
    WndLogConf(DBConn* conn, const DBLOG* log, QWidget* parent, const char* name, bool modal,
               Qt::WindowFlags flags);
    ~WndLogConf() override;

    // The check item of row was switched.
    void treeItemChanged(int row, bool on);

    // The statement OK sends; empty when no row can be switched.
    QString updateStatement() const;

public slots:
    void slotOk() override;
    void slotCancel() override;

private:
    void fillTree();
    QString cell(int row, const char* column) const;

    QPointer<DBConn> m_conn;
    DBLOG m_log;
    DBTable m_table;
    QHash<int, QTreeWidgetItem*> m_itemByRow; // items are owned by the tree
    QHash<QString, int> m_rowByName;
    // The level each check item was filled from: a level the box shows only as on (2, -1)
    // goes back as stored while the box shows what it showed, however often it was toggled.
    QHash<int, UntouchedFlag> m_loadedLevels;
};
