#include "qscheditem.h"

#include "cols.h"
#include "deliveryicons.h"
#include "deliverytexts.h"
#include "schedtimes.h"
#include "wndsched.h"

#include <QCoreApplication>

using namespace DeliveryTexts;

QSchedItem::QSchedItem(QTreeWidget* list, DBRow* row, const Cols* cols, WndSched* page)
    : DeliveryItem(list, cols, Type)
    , m_row(row)
    , m_page(page)
{
    setFlags(flags() | Qt::ItemIsUserCheckable);
    QTreeWidgetItem::setData(0, Qt::CheckStateRole, Qt::Unchecked);
}

void QSchedItem::addColumns(Cols& cols)
{
    cols.add(QCoreApplication::translate("WndSched", "Time"), true, -1, false);
    cols.add(QCoreApplication::translate("WndSched", "Action(s)"), true, -1, false);
    cols.add(QCoreApplication::translate("WndSched", "Description"), true, -1, false);
    cols.add(QCoreApplication::translate("WndSched", "RAS"), false, -1, false);
}

QString QSchedItem::cellText(int id) const
{
    switch (id) {
    case Time:
        return scheduledTimeText(cell(m_row, "timetype"), cell(m_row, "time"), cell(m_row, "timeint"));
    case Actions: return scheduledActionText(cell(m_row, "action"));
    case Description: return cell(m_row, "desc");
    case Dial:
        return leadingInt(cell(m_row, "allowdial")) == 1
                   ? QCoreApplication::translate("WndSched", "Dial")
                   : QCoreApplication::translate("WndSched", "Don't dial");
    }
    return QString();
}

bool QSchedItem::showsOn(const QString& enabled)
{
    return leadingInt(enabled) != 0;
}

UntouchedFlag QSchedItem::storedEnabled() const
{
    const std::optional<QString> stored = m_page ? m_page->storedText(m_row, "enabled") : std::nullopt;
    return stored ? UntouchedFlag(*stored, showsOn(*stored)) : UntouchedFlag();
}

void QSchedItem::show()
{
    showOn(showsOn(cell(m_row, "enabled")));
    m_cols->showItem(this, [this](int id) { return cellText(id); });
    setIconOfFirst(DeliveryIcons::sched());
}

void QSchedItem::showOn(bool on)
{
    QTreeWidgetItem::setData(0, Qt::CheckStateRole, on ? Qt::Checked : Qt::Unchecked);
}

void QSchedItem::setOn(bool on)
{
    setCell(m_row, "enabled", storedEnabled().textFor(on));
    if (m_page)
        m_page->updateQuery();
    showOn(on);
}

bool QSchedItem::isOn() const
{
    return checkState(0) == Qt::Checked;
}

void QSchedItem::setData(int column, int role, const QVariant& value)
{
    if (role == Qt::CheckStateRole && column == 0) {
        const bool on = value.toInt() == Qt::Checked;
        if (on != isOn())
            setOn(on);
        return;
    }
    DeliveryItem::setData(column, role, value);
}

QString QSchedItem::key(int column, bool) const
{
    return text(column);
}
