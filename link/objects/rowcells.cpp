#include "rowcells.h"

#include "dbrow.h"

namespace RowCells {

namespace {

DBVal* valueOf(const DBRow* row, const char* name)
{
    const int index = row ? row->colIndex(name) : -1;
    if (index < 0 || std::size_t(index) >= row->m_values.size())
        return nullptr;
    return row->m_values[std::size_t(index)].get();
}

} // namespace

QString cell(const DBRow* row, const char* name)
{
    const DBVal* value = valueOf(row, name);
    return value ? value->text() : QString();
}

void setCell(DBRow* row, const char* name, const QString& text)
{
    if (DBVal* value = valueOf(row, name))
        value->set(text);
}

} // namespace RowCells
