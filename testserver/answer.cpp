#include "answer_p.h"

#include "cellencoder_p.h"
#include "wire_p.h"

namespace StandIn {

namespace {

constexpr quint8 HeaderWords = 4;
constexpr quint8 DescriptorFixedPart = 3; // its own length byte, type, flags
constexpr quint8 KeyFlag = 1;

void appendDescriptor(QByteArray &out, const Column &column)
{
    Wire::appendU8(out, DescriptorFixedPart);
    Wire::appendU8(out, quint8(column.type));
    Wire::appendU8(out, column.key ? KeyFlag : 0);
    const QByteArray name = column.name.toUtf8();
    Wire::appendU32(out, quint32(name.size() + 1));
    out.append(name);
    out.append('\0');
}

} // namespace

Answer Answer::refusal(quint32 status, quint32 detail)
{
    Answer answer;
    answer.m_status = status;
    answer.m_detail = detail;
    return answer;
}

Answer Answer::rowSet(const QList<Column> &columns, const QList<QStringList> &rows)
{
    Answer answer;
    answer.m_kind = RowSetKind;
    answer.m_columns = columns;
    answer.m_rows = rows;
    return answer;
}

Answer Answer::done(quint32 affectedRows)
{
    Answer answer;
    answer.m_affected = affectedRows;
    return answer;
}

Answer Answer::firstRows(int count) const
{
    if (m_status != StatusOk || m_kind != RowSetKind || count >= m_rows.size())
        return *this;
    return rowSet(m_columns, m_rows.mid(0, qMax(0, count)));
}

Answer Answer::withoutColumns(const QStringList &names, int count) const
{
    if (m_status != StatusOk || m_kind != RowSetKind)
        return *this;
    QList<int> kept;
    for (int c = 0; c < m_columns.size(); ++c) {
        const bool named = names.contains(m_columns.at(c).name, Qt::CaseInsensitive);
        const bool trailing = names.isEmpty() && c >= m_columns.size() - count;
        if (!named && !trailing)
            kept.append(c);
    }
    QList<Column> columns;
    for (int c : std::as_const(kept))
        columns.append(m_columns.at(c));
    QList<QStringList> rows;
    rows.reserve(m_rows.size());
    for (const QStringList &row : m_rows) {
        QStringList cells;
        for (int c : std::as_const(kept))
            cells.append(row.value(c));
        rows.append(cells);
    }
    return rowSet(columns, rows);
}

QByteArray Answer::dataBlock() const
{
    QByteArray descriptors;
    for (const Column &column : m_columns)
        appendDescriptor(descriptors, column);

    QByteArray block;
    Wire::appendU8(block, HeaderWords);
    Wire::appendU8(block, m_kind);
    Wire::appendU16(block, quint16(m_columns.size()));
    Wire::appendU32(block, quint32(m_rows.size()));
    Wire::appendU32(block, m_affected); // spare word 1: rows a change touched
    Wire::appendU32(block, 0);          // spare word 2
    Wire::appendU32(block, quint32(descriptors.size()));
    block.append(descriptors);
    for (const QStringList &row : m_rows) {
        for (int c = 0; c < m_columns.size(); ++c)
            CellEncoder::appendCell(block, m_columns.at(c).type, row.value(c));
    }
    return block;
}

QByteArray Answer::encode() const
{
    const QByteArray block = m_status == StatusOk ? dataBlock() : QByteArray();
    QByteArray out;
    out.reserve(16 + block.size());
    Wire::appendU32(out, 0);
    Wire::appendU32(out, quint32(block.size()));
    Wire::appendU32(out, m_status);
    Wire::appendU32(out, m_status == StatusOk ? 0 : m_detail);
    out.append(block);
    return out;
}

} // namespace StandIn
