#include "dbtable_p.h"

#include "dbrow.h"
#include "vexadbtypes.h"

#include <QByteArray>

#include <climits>
#include <cstdint>
#include <cstring>

namespace {

enum { FirstReadSize = 4096 };

// Reads a cell whole: first into a buffer of FirstReadSize bytes, and when the cell
// is longer, once more into a buffer of exactly its length. Null when the cell
// cannot be read; otherwise exactly the bytes the read delivered.
QByteArray readWholeCell(const CellReader &read, int row, int column)
{
    QByteArray buffer(FirstReadSize, '\0');
    int length = buffer.size();
    if (!read(row, column, buffer.data(), &length)) {
        if (length <= buffer.size())
            return QByteArray();
        buffer = QByteArray(length, '\0');
        length = buffer.size();
        if (!read(row, column, buffer.data(), &length))
            return QByteArray();
    }
    // An empty cell must still read as a value, not as null.
    buffer.truncate(qBound(0, length, static_cast<int>(buffer.size())));
    if (buffer.isNull())
        buffer = QByteArray("", 0);
    return buffer;
}

// A fixed-size cell counts only when it has exactly the size of its kind.
bool readFixedCell(const CellReader &read, int row, int column, void *value, int size)
{
    alignas(8) unsigned char bytes[8] = {};
    int length = size;
    if (!read(row, column, bytes, &length) || length != size)
        return false;
    std::memcpy(value, bytes, size);
    return true;
}

// The text of a STRING cell: up to its first NUL, or every byte delivered when
// the server sent none.
void readStringCell(DBVal *value, const CellReader &read, int row, int column)
{
    const QByteArray cell = readWholeCell(read, row, column);
    if (cell.isNull())
        return;
    const qsizetype end = cell.indexOf('\0');
    value->set(QString::fromUtf8(cell.constData(), end < 0 ? cell.size() : end));
}

// BINARY cells arrive whole at any length; a list longer than a list value holds
// cannot be kept whole and stays null.
void readListOrBinaryCell(DBVal *value, int type, const CellReader &read, int row,
                          int column)
{
    const QByteArray cell = readWholeCell(read, row, column);
    if (cell.isNull())
        return;
    if (type == VEXADB_IDLIST && cell.size() > DBIDList::BufferSize)
        return;
    const qint64 textSize = type == VEXADB_BINARY ? 2 * qint64(cell.size()) + 1
                                                  : qint64(DBIDList::BufferSize);
    if (textSize > INT_MAX)
        return;
    QByteArray text(static_cast<int>(textSize), '\0');
    if (vexadb_val2str(type, text.data(), text.size(), cell.constData(), cell.size()) == 0)
        return;
    value->set(QString::fromLatin1(text.constData()));
}

} // namespace

void readAnswerRow(DBRow *row, int answerRow, const CellReader &read)
{
    for (size_t c = 0; c < row->m_values.size(); ++c) {
        DBVal *value = row->m_values[c].get();
        const int type = row->m_cols[c].type;
        const int column = static_cast<int>(c);
        switch (type) {
        case VEXADB_INT: {
            int32_t number;
            if (readFixedCell(read, answerRow, column, &number, sizeof number))
                value->set(DBInt(number).text());
            break;
        }
        case VEXADB_INT64: {
            int64_t number;
            if (readFixedCell(read, answerRow, column, &number, sizeof number))
                value->set(DBInt64(number).text());
            break;
        }
        case VEXADB_IPADDR: {
            uint32_t address;
            if (readFixedCell(read, answerRow, column, &address, sizeof address))
                value->set(DBIpAddr(address).text());
            break;
        }
        case VEXADB_PORT: {
            uint16_t port;
            if (readFixedCell(read, answerRow, column, &port, sizeof port))
                value->set(DBPort(port).text());
            break;
        }
        case VEXADB_STRING:
            readStringCell(value, read, answerRow, column);
            break;
        case VEXADB_BINARY:
        case VEXADB_IDLIST:
            readListOrBinaryCell(value, type, read, answerRow, column);
            break;
        default:
            // PWD: stored passwords never reach a row. VOID and unknown codes carry
            // nothing readable.
            break;
        }
    }
}
