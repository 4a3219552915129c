#include "ruleitem.h"

#include "cellnumbers.h"
#include "cols.h"
#include "rowcells.h"

RuleItem::RuleItem(QTreeWidget* list, DBRow* row, Cols* cols)
    : KeyedItem(list, Type)
    , m_row(row)
    , m_cols(cols)
{
    setFlags(flags() | Qt::ItemIsUserCheckable);
    QTreeWidgetItem::setData(0, Qt::CheckStateRole, Qt::Unchecked);
}

void RuleItem::showCheck()
{
    const bool on = CellNumbers::wholeNumber(m_row, "enabled") != 0;
    m_enabled.show(RowCells::cell(m_row, "enabled"), on);
    showOn(on);
}

void RuleItem::showOn(bool on)
{
    QTreeWidgetItem::setData(0, Qt::CheckStateRole, on ? Qt::Checked : Qt::Unchecked);
}

void RuleItem::setOn(bool on)
{
    RowCells::setCell(m_row, "enabled", m_enabled.textFor(on));
    showOn(on);
    handIn();
}

bool RuleItem::isOn() const
{
    return checkState(0) == Qt::Checked;
}

void RuleItem::setData(int column, int role, const QVariant& value)
{
    if (role == Qt::CheckStateRole && column == 0) {
        const bool on = value.toInt() == Qt::Checked;
        if (on != isOn())
            setOn(on);
        return;
    }
    KeyedItem::setData(column, role, value);
}

int RuleItem::viewColumn(int id) const
{
    return m_cols->showFlags.value(id) != 0 ? m_cols->dispinv.value(id, -1) : -1;
}
