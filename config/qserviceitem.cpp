#include "qserviceitem.h"

#include "cellnumbers.h"
#include "cols.h"
#include "dbrow.h"
#include "dbval.h"
#include "globaldata.h"
#include "images/lampgreen.xpm"
#include "images/lampred.xpm"
#include "keyedpixmap.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QTreeWidget>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("QServiceItem", text);
}

} // namespace

QServiceItem::Lamps::Lamps()
    : running(keyedPixmap(QPixmap(lampgreen_xpm)))
    , stopped(keyedPixmap(QPixmap(lampred_xpm)))
{
}

QServiceItem::QServiceItem(QTreeWidget* list, DBRow* row, const QString& table, Cols* cols,
                           int index, const Lamps* lamps)
    : QTreeWidgetItem(list, Type)
    , m_table(table)
    , m_row(row)
    , m_cols(cols)
    , m_index(index)
    , m_ascendingKey(QString::asprintf("%06d", index))
    , m_descendingKey(QString::asprintf("%06d", 100000 - index))
    , m_lamps(lamps)
{
}

QString QServiceItem::cellText(const DBRow* row, const char* column)
{
    const int index = row ? row->colIndex(column) : -1;
    return index < 0 ? QString() : row->m_values[size_t(index)]->text();
}

void QServiceItem::show()
{
    const QString fullName = cellText(m_row, "fullname");
    const bool automatic = CellNumbers::leadingNumber(cellText(m_row, "autostart")) == 1;
    const QStringList texts{
        tr(fullName.toUtf8().constData()),
        m_running ? tr("Running") : tr("Stopped"),
        automatic ? tr("Automatic") : tr("Manual"),
        cellText(m_row, "port"),
        cellText(m_row, "acl"),
        cellText(m_row, "defaultport"),
    };
    m_cols->showItem(this, texts);
    if (m_cols->showFlags.value(0) != 0)
        setIcon(m_cols->dispinv.value(0), m_running ? m_lamps->running : m_lamps->stopped);
}

QString QServiceItem::key(int /*column*/, bool ascending) const
{
    return ascending ? m_ascendingKey : m_descendingKey;
}

bool QServiceItem::operator<(const QTreeWidgetItem& other) const
{
    const QTreeWidget* list = treeWidget();
    if (other.type() != Type || !list)
        return QTreeWidgetItem::operator<(other);
    // A descending sort asks whether the other item is less than this one: the
    // descending keys reverse the order back.
    const bool ascending = list->header()->sortIndicatorOrder() == Qt::AscendingOrder;
    const int column = list->sortColumn();
    const auto& that = static_cast<const QServiceItem&>(other);
    return QString::compare(key(column, ascending), that.key(column, ascending)) < 0;
}

bool QServiceItem::greyed() const
{
    if (globalData.sslInstalled)
        return false;
    const QString name = cellText(m_row, "name");
    return name == QLatin1String("POP3S") || name == QLatin1String("IMAPS")
        || name == QLatin1String("WEBMAILS");
}

QVariant QServiceItem::data(int column, int role) const
{
    if (role == Qt::ForegroundRole && greyed())
        return QBrush(Qt::gray);
    return QTreeWidgetItem::data(column, role);
}
