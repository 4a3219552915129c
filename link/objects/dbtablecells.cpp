#include "dbtable_p.h"

#include "dbrow.h"
#include "repeatedtexts_p.h"
#include "vexadbtypes.h"

#include <QByteArray>

#include <climits>
#include <cstdint>
#include <cstring>

namespace {

enum { FirstReadSize = 4096 };

// A cell read whole: first into a buffer of FirstReadSize bytes on the stack, and when the
// cell is longer, once more into one of exactly its length. A load reads every cell of a
// long answer this way, so the short ones, nearly all, cost no allocation.
class WholeCell
{
public:
    WholeCell(const CellReader &read, int row, int column)
    {
        int length = FirstReadSize;
        if (read(row, column, m_first, &length)) {
            take(m_first, length, FirstReadSize);
            return;
        }
        if (length <= FirstReadSize)
            return;
        m_long = QByteArray(length, Qt::Uninitialized);
        length = int(m_long.size());
        if (read(row, column, m_long.data(), &length))
            take(m_long.constData(), length, int(m_long.size()));
    }

    // False when the cell could not be read; otherwise the bytes the read delivered.
    bool isRead() const { return m_data != nullptr; }
    const char *data() const { return m_data; }
    int size() const { return m_size; }

private:
    void take(const char *data, int length, int capacity)
    {
        m_data = data;
        m_size = qBound(0, length, capacity);
    }

    char m_first[FirstReadSize];
    QByteArray m_long;
    const char *m_data = nullptr;
    int m_size = 0;
};

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
void readStringCell(DBVal *value, const CellReader &read, int row, int column,
                    RepeatedTexts *repeated)
{
    const WholeCell cell(read, row, column);
    if (!cell.isRead())
        return;
    const void *zero = std::memchr(cell.data(), 0, size_t(cell.size()));
    const qsizetype length = zero ? static_cast<const char *>(zero) - cell.data() : cell.size();
    value->set(repeated ? repeated->text(column, cell.data(), length)
                        : QString::fromUtf8(cell.data(), length));
}

// BINARY cells arrive whole at any length; a list longer than a list value holds
// cannot be kept whole and stays null.
void readListOrBinaryCell(DBVal *value, int type, const CellReader &read, int row,
                          int column)
{
    const WholeCell cell(read, row, column);
    if (!cell.isRead())
        return;
    if (type == VEXADB_IDLIST && cell.size() > DBIDList::BufferSize)
        return;
    // The text form ends in a zero byte whenever the conversion succeeds. A list's text
    // fits a list value's size; bytes take two digits each.
    char listText[DBIDList::BufferSize];
    QByteArray binaryText;
    char *text = listText;
    int textSize = DBIDList::BufferSize;
    if (type == VEXADB_BINARY) {
        const qint64 digits = 2 * qint64(cell.size()) + 1;
        if (digits > INT_MAX)
            return;
        binaryText = QByteArray(static_cast<int>(digits), Qt::Uninitialized);
        text = binaryText.data();
        textSize = static_cast<int>(digits);
    }
    if (vexadb_val2str(type, text, textSize, cell.data(), cell.size()) == 0)
        return;
    value->set(QString::fromLatin1(text));
}

} // namespace

void readAnswerRow(DBRow *row, int answerRow, const CellReader &read, RepeatedTexts *repeated)
{
    for (size_t c = 0; c < row->m_values.size(); ++c) {
        DBVal *value = row->m_values[c].get();
        const int type = row->m_cols[c].type;
        const int column = static_cast<int>(c);
        switch (type) {
        case VEXADB_INT: {
            int32_t number;
            if (readFixedCell(read, answerRow, column, &number, sizeof number))
                value->setTextOf(DBInt(number));
            break;
        }
        case VEXADB_INT64: {
            int64_t number;
            if (readFixedCell(read, answerRow, column, &number, sizeof number))
                value->setTextOf(DBInt64(number));
            break;
        }
        case VEXADB_IPADDR: {
            uint32_t address;
            if (readFixedCell(read, answerRow, column, &address, sizeof address))
                value->setTextOf(DBIpAddr(address));
            break;
        }
        case VEXADB_PORT: {
            uint16_t port;
            if (readFixedCell(read, answerRow, column, &port, sizeof port))
                value->setTextOf(DBPort(port));
            break;
        }
        case VEXADB_STRING:
            readStringCell(value, read, answerRow, column, repeated);
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
