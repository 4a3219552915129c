#pragma once

#include "testserver.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace StandIn {

// Statuses the server answers with; any non-zero status carries no data block.
enum Status : quint32 {
    StatusOk = 0,
    StatusParseError = 106,
    StatusWrongQuery = 107,
    StatusInternalError = 108,
    StatusNoTable = 109,
    StatusNoFunction = 110,
    StatusNotPossible = 111,
    StatusBufferSize = 112,
    StatusAccessDenied = 113,
    StatusNoColumn = 114,
};

// One answer to a statement: a refusal, a row set, or the acknowledgement of
// a change (a data block of another kind, without rows).
class Answer
{
public:
    static constexpr quint8 RowSetKind = 115;   // "s"
    static constexpr quint8 DoneKind = 0;

    static Answer refusal(quint32 status, quint32 detail = 0);
    static Answer rowSet(const QList<Column> &columns, const QList<QStringList> &rows);
    static Answer done(quint32 affectedRows);

    quint32 status() const { return m_status; }
    const QList<Column> &columns() const { return m_columns; }
    const QList<QStringList> &rows() const { return m_rows; }
    quint32 affectedRows() const { return m_affected; }

    // A row set cut to its first count rows, as a server that answers fewer rows than
    // asked sends it; any other answer is returned as it is.
    Answer firstRows(int count) const;
    // A row set without the named columns (letter case ignored), or, with no names, without
    // its last count columns: descriptors and cells alike, as a server of another version
    // answers. Any other answer is returned as it is.
    Answer withoutColumns(const QStringList &names, int count) const;

    // The 16-byte answer header and, with status 0, the data block.
    QByteArray encode() const;
    QByteArray dataBlock() const;

private:
    quint32 m_status = StatusOk;
    quint32 m_detail = 0;
    quint8 m_kind = DoneKind;
    quint32 m_affected = 0;
    QList<Column> m_columns;
    QList<QStringList> m_rows;
};

} // namespace StandIn
