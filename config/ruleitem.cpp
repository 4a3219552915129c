#include "ruleitem.h"

#include "cellnumbers.h"
#include "cols.h"
#include "listpage.h"
#include "rowcells.h"

RuleItem::RuleItem(QTreeWidget* list, DBRow* row, Cols* cols, const ListPage* page)
    : KeyedItem(list, Type)
    , m_row(row)
    , m_cols(cols)
    , m_page(page)
{
    setFlags(flags() | Qt::ItemIsUserCheckable);
    QTreeWidgetItem::setData(0, Qt::CheckStateRole, Qt::Unchecked);
}

bool RuleItem::showsOn(const QString& enabled)
{
    return CellNumbers::wholeNumber(enabled) != 0;
}

void RuleItem::showCheck()
{
    showOn(showsOn(RowCells::cell(m_row, "enabled")));
}

UntouchedFlag RuleItem::storedEnabled() const
{
    const std::optional<QString> stored = m_page ? m_page->storedText(m_row, "enabled") : std::nullopt;
    return stored ? UntouchedFlag(*stored, showsOn(*stored)) : UntouchedFlag();
}

void RuleItem::showOn(bool on)
{
    QTreeWidgetItem::setData(0, Qt::CheckStateRole, on ? Qt::Checked : Qt::Unchecked);
}

void RuleItem::setOn(bool on)
{
    RowCells::setCell(m_row, "enabled", storedEnabled().textFor(on));
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
