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

void QMethodItem::setData(int column, int role, const QVariant& value)
{
    if (column == 0 && role == Qt::CheckStateRole) {
        m_on = value.toInt() != Qt::Unchecked;
        if (m_page)
            m_page->slotChanged();
    }
    QTreeWidgetItem::setData(column, role, value);
}
