#include "qmethoditem.h"

#include "wndadvanced.h"

QMethodItem::QMethodItem(QTreeWidget* list, const QString& name, bool on, WndAdvanced* page)
    : QTreeWidgetItem(list, QStringList{QString()})
    , m_name(name)
    , m_on(on)
    , m_page(page)
{
    setFlags(flags() | Qt::ItemIsUserCheckable);
}

void QMethodItem::show()
{
    setOn(m_on);
    setText(0, m_name);
}

void QMethodItem::setOn(bool on)
{
    setData(0, Qt::CheckStateRole, on ? Qt::Checked : Qt::Unchecked);
}

// The page is told once the tick shows: it judges a change by what its widgets show.
void QMethodItem::setData(int column, int role, const QVariant& value)
{
    const bool tick = column == 0 && role == Qt::CheckStateRole;
    if (tick)
        m_on = value.toInt() != Qt::Unchecked;
    QTreeWidgetItem::setData(column, role, value);
    if (tick && m_page)
        m_page->slotChanged();
}
