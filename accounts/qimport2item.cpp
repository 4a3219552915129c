#include "qimport2item.h"

#include "accounttexts.h"

using AccountTexts::cell;

QImport2Item::QImport2Item(QTreeWidget* list, DBRow* row, DlgImport2*)
    : KeyedItem(list, Type)
    , m_row(row)
{
    setFlags(flags() | Qt::ItemIsUserCheckable);
}

QImport2Item::~QImport2Item() = default;

void QImport2Item::show()
{
    setOn(m_checked);
    setText(0, cell(m_row, "username"));
    setText(1, cell(m_row, "fullname"));
    setText(2, cell(m_row, "description"));
}

void QImport2Item::setOn(bool on)
{
    setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
}

void QImport2Item::setData(int column, int role, const QVariant& value)
{
    if (column == 0 && role == Qt::CheckStateRole)
        m_checked = value.toInt() == Qt::Checked;
    KeyedItem::setData(column, role, value);
}
