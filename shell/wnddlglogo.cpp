#include "wnddlglogo.h"

#include "dbval.h"
#include "vexadbtypes.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QHeaderView>
#include <QTreeWidget>

#include <iterator>

namespace {

enum InfoColumn { ProductName, Version, OsDescription, Notice, ProductHomepage };

const DBCOL dbcol_info[] = {
    {VEXADB_STRING, "ProductName", 0},
    {VEXADB_STRING, "Version", 0},
    {VEXADB_STRING, "OsDescription", 0},
    {VEXADB_STRING, "Notice", 0},
    {VEXADB_STRING, "ProductHomepage", 0},
    {0, nullptr, 0},
};

QString translated(const char* text)
{
    return QCoreApplication::translate("WndDlgLogo", text);
}

} // namespace

WndDlgLogo::WndDlgLogo(QWidget* parent, DBConn* conn, DBCtrl* /*ctrl*/, Desktop* /*desktop*/,
                       const char* name, Qt::WindowFlags f)
    : TDlgLogo(parent, name, f)
    , m_parent(parent)
    , m_conn(conn)
{
    if (!conn) {
        m_list->hide();
        return;
    }
    if (!m_info.select(parent, conn, "info", dbcol_info,
                       DBTable::WaitWithProgress | DBTable::ReportRefusal))
        return;
    // Off before the rows go in: a sorting list would order them as they arrive.
    m_list->setSortingEnabled(false);
    updateData();
    m_list->header()->hide();
}

WndDlgLogo::~WndDlgLogo() = default;

void WndDlgLogo::updateData()
{
    m_list->clear();
    const DBRow* row = m_info.m_rows.empty() ? nullptr : m_info.m_rows.front().get();
    auto cell = [row](InfoColumn column) {
        return row ? row->m_values[column]->text() : QString();
    };
    const QString product = row ? cell(ProductName) + QLatin1Char(' ') + cell(Version) : QString();
    const QByteArray noticeLabel = QByteArray(dbcol_info[Notice].name) + ':';

    const QString rows[][2] = {
        {tr("Product:   "), product},
        {tr("Operating system:   "), cell(OsDescription)},
        {tr("Homepage:"), cell(ProductHomepage)},
        {translated(noticeLabel.constData()), cell(Notice)},
    };
    // Each row goes in at the top, so they go in last first.
    for (int i = int(std::size(rows)) - 1; i >= 0; --i) {
        auto* item = new QTreeWidgetItem;
        item->setText(0, rows[i][0]);
        item->setText(1, rows[i][1]);
        m_list->insertTopLevelItem(0, item);
    }
}
