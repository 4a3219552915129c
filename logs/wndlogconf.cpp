#include "wndlogconf.h"

#include "checkitem.h"
#include "dbconn.h"
#include "dbreq.h"
#include "dbrow.h"
#include "dbval.h"
#include "escape.h"
#include "ownrequest.h"
#include "vexadbtypes.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>

namespace {

const DBCOL dbcol_debuglist[] = {
    {VEXADB_STRING, "parent", 0},
    {VEXADB_STRING, "name", 1},
    {VEXADB_INT, "level", 0},
    {VEXADB_INT, "chkbox", 0},
    {VEXADB_STRING, "desc", 0},
    {0, nullptr, 0},
};

// Headings and other rows without a check box cannot be switched.
QTreeWidgetItem* plainItem(QTreeWidgetItem* item)
{
    item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
    return item;
}

} // namespace

WndLogConf::WndLogConf(DBConn* conn, const DBLOG* log, QWidget* parent, const char* name,
                       bool modal, Qt::WindowFlags flags)
    : TConfLog(parent, name, modal, flags)
    , m_conn(conn)
    , m_log(*log)
{
    m_lvConfLog->header()->hide();
    m_lvConfLog->setSortingEnabled(false);
    m_lvConfLog->setColumnCount(1);
    m_lvConfLog->setHeaderLabels({QString()});
    m_lvConfLog->setRootIsDecorated(true);
    if (conn && m_table.function(parentWidget(), conn, "DebugList()", dbcol_debuglist, 0))
        fillTree();
}

WndLogConf::~WndLogConf() = default;

QString WndLogConf::cell(int row, const char* column) const
{
    const DBRow& values = *m_table.m_rows.at(std::size_t(row));
    const int col = values.colIndex(column);
    return col < 0 ? QString() : values.m_values.at(std::size_t(col))->text();
}

// Each child is appended under its parent's item: rows that come depth first keep the
// server's order under every parent, however deep they are nested.
void WndLogConf::fillTree()
{
    const int rows = int(m_table.m_rows.size());
    for (int i = 0; i < rows; ++i) {
        const QString parent = cell(i, "parent");
        const QString name = cell(i, "name");
        const int chkbox = cell(i, "chkbox").toInt();
        const QString desc = cell(i, "desc");
        QTreeWidgetItem* item = nullptr;
        if (parent.isEmpty()) {
            item = plainItem(new QTreeWidgetItem(m_lvConfLog, {desc}));
        } else {
            const auto found = m_rowByName.constFind(parent);
            QTreeWidgetItem* parentItem =
                found == m_rowByName.constEnd() ? nullptr : m_itemByRow.value(*found);
            if (!parentItem) {
                btnOk->setEnabled(false);
                return;
            }
            if (chkbox == 1) {
                auto* check = new CheckItem(parentItem, desc, i, nullptr);
                const QString level = cell(i, "level");
                const bool on = level.toInt() != 0;
                check->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
                m_loadedLevels.insert(i, UntouchedFlag(level, on));
                check->m_conf = this;
                item = check;
            } else {
                item = plainItem(new QTreeWidgetItem(parentItem, {desc}));
            }
        }
        m_rowByName.insert(name, i);
        m_itemByRow.insert(i, item);
    }
}

void WndLogConf::treeItemChanged(int row, bool on)
{
    if (row < 0 || row >= int(m_table.m_rows.size()))
        return;
    DBRow& values = *m_table.m_rows.at(std::size_t(row));
    const int col = values.colIndex("level");
    if (col >= 0)
        values.m_values.at(std::size_t(col))->set(m_loadedLevels.value(row).textFor(on));
}

QString WndLogConf::updateStatement() const
{
    // The names and levels come from the server, and go back through escape like every
    // other value in a statement.
    QStringList assignments;
    for (int i = 0; i < int(m_table.m_rows.size()); ++i) {
        if (cell(i, "ChkBox").toInt() != 0)
            assignments.append(escape(cell(i, "name")) + QLatin1String(" = ")
                               + escape(cell(i, "level")));
    }
    if (assignments.isEmpty())
        return QString();
    return QLatin1String("update DebugEvent set ") + assignments.join(QLatin1String(", "));
}

void WndLogConf::slotOk()
{
    const QString statement = updateStatement();
    // With no switchable row there is nothing to write. Closed as on success whatever the
    // outcome, unless the dialog went meanwhile.
    if (!statement.isEmpty()) {
        DBReq request(statement, true);
        if (sendOwnRequest(m_conn, request, this) == OwnRequest::OwnerGone)
            return;
    }
    m_table.reset();
    accept();
}

void WndLogConf::slotCancel()
{
    m_table.reset();
    reject();
}
