#include "checkitem.h"

#include "wndlogconf.h"

CheckItem::CheckItem(QTreeWidgetItem* parent, const QString& text, int row, WndLogConf* conf)
    : QTreeWidgetItem(parent)
    , m_row(row)
    , m_conf(nullptr)
{
    setText(0, text);
    setFlags(flags() | Qt::ItemIsUserCheckable);
    setCheckState(0, Qt::Unchecked);
    // Set last: the initial state is the loaded one, not a change.
    m_conf = conf;
}

void CheckItem::setData(int column, int role, const QVariant& value)
{
    const bool wasOn = isOn();
    QTreeWidgetItem::setData(column, role, value);
    if (role == Qt::CheckStateRole && m_conf && isOn() != wasOn)
        m_conf->treeItemChanged(m_row, isOn());
}
