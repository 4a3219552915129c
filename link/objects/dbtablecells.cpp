#include "dbtable_p.h"

#include "dbrow.h"
#include "repeatedtexts_p.h"
#include "vexadbtypes.h"

#include <QByteArray>

#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>

namespace {

enum { FirstReadSize = 4096 };

// A read that failed asking for a larger buffer met a cell the answer holds; any other
// failed read met none.
bool cellCarried(bool copied, int length, int capacity)
{
    return copied || length > capacity;
}

// A cell read whole: first into a buffer of FirstReadSize bytes on the stack, and when the
// cell is longer, once more into one of exactly its length. A load reads every cell of a
// long answer this way, so the short ones, nearly all, cost no allocation.
class WholeCell
{
public:
    WholeCell(const CellReader &read, int row, int column)
    {
        int length = FirstReadSize;
        const bool copied = read(row, column, m_first, &length);
        m_carried = cellCarried(copied, length, FirstReadSize);
        if (copied) {
            take(m_first, length, FirstReadSize);
            return;
        }
        if (!m_carried)
            return;
        m_long = QByteArray(length, Qt::Uninitialized);
        length = int(m_long.size());
        if (read(row, column, m_long.data(), &length))
            take(m_long.constData(), length, int(m_long.size()));
    }

    // False when the answer holds no such cell.
    bool isCarried() const { return m_carried; }
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
    bool m_carried = false;
};

// A fixed-size cell counts only when it has exactly the size of its kind: *taken tells
// whether it was copied into value. False when the answer holds no such cell.
bool readFixedCell(const CellReader &read, int row, int column, void *value, int size,
                   bool *taken)
{
    alignas(8) unsigned char bytes[8] = {};
    int length = size;
    const bool copied = read(row, column, bytes, &length);
    *taken = copied && length == size;
    if (*taken)
        std::memcpy(value, bytes, size);
    return cellCarried(copied, length, size);
}

// The text of a STRING cell: up to its first NUL, or every byte delivered when
// the server sent none.
bool readStringCell(DBVal *value, const CellReader &read, int row, int column,
                    RepeatedTexts *repeated)
{
    const WholeCell cell(read, row, column);
    if (!cell.isRead())
        return cell.isCarried();
    const void *zero = std::memchr(cell.data(), 0, size_t(cell.size()));
    const qsizetype length = zero ? static_cast<const char *>(zero) - cell.data() : cell.size();
    value->set(repeated ? repeated->text(column, cell.data(), length)
                        : QString::fromUtf8(cell.data(), length));
    return true;
}

// BINARY cells arrive whole at any length; a list longer than a list value holds
// cannot be kept whole and stays null.
bool readListOrBinaryCell(DBVal *value, int type, const CellReader &read, int row,
                          int column)
{
    const WholeCell cell(read, row, column);
    if (!cell.isRead())
        return cell.isCarried();
    if (type == VEXADB_IDLIST && cell.size() > DBIDList::BufferSize)
        return true;
    // The text form ends in a zero byte whenever the conversion succeeds. A list's text
    // fits a list value's size; bytes take two digits each.
    char listText[DBIDList::BufferSize];
    QByteArray binaryText;
    char *text = listText;
    int textSize = DBIDList::BufferSize;
    if (type == VEXADB_BINARY) {
        const qint64 digits = 2 * qint64(cell.size()) + 1;
        if (digits > INT_MAX)
            return true;
        binaryText = QByteArray(static_cast<int>(digits), Qt::Uninitialized);
        text = binaryText.data();
        textSize = static_cast<int>(digits);
    }
    if (vexadb_val2str(type, text, textSize, cell.data(), cell.size()) != 0)
        value->set(QString::fromLatin1(text));
    return true;
}

// A number kind's cell, set into value through a value of its own kind when it fits.
template<class Kind, class Number>
bool readNumberCell(DBVal *value, const CellReader &read, int row, int column)
{
    Number number;
    bool taken = false;
    const bool carried = readFixedCell(read, row, column, &number, sizeof number, &taken);
    if (taken)
        value->setTextOf(Kind(number));
    return carried;
}

// Reads one cell into value; false when the answer holds no such cell.
bool readCell(DBVal *value, int type, const CellReader &read, int row, int column,
              RepeatedTexts *repeated)
{
    switch (type) {
    case VEXADB_INT:
        return readNumberCell<DBInt, int32_t>(value, read, row, column);
    case VEXADB_INT64:
        return readNumberCell<DBInt64, int64_t>(value, read, row, column);
    case VEXADB_IPADDR:
        return readNumberCell<DBIpAddr, uint32_t>(value, read, row, column);
    case VEXADB_PORT:
        return readNumberCell<DBPort, uint16_t>(value, read, row, column);
    case VEXADB_STRING:
        return readStringCell(value, read, row, column, repeated);
    case VEXADB_BINARY:
    case VEXADB_IDLIST:
        return readListOrBinaryCell(value, type, read, row, column);
    default:
        // PWD: stored passwords never reach a row. VOID and unknown codes carry
        // nothing readable, and are never asked for.
        return true;
    }
}

// A cell the answer carries in a type other than the column's: read by the answer's type,
// then taken over through its text. A text the column's kind would change (a word in a
// number column, "007", a number read as an address) is kept as the server sent it, in a
// string value, so that the row writes back, and names in a key, exactly what the server
// holds. A cell of no value (VOID, PWD, an unknown code, a number cell without bytes)
// leaves the value null.
bool readForeignCell(DBRow *row, size_t c, int answerType, const CellReader &read,
                     int answerRow)
{
    const std::unique_ptr<DBVal> sent = DBRow::newValue(answerType);
    const bool carried = readCell(sent.get(), answerType, read, answerRow, int(c), nullptr);
    if (!sent->isNull())
        row->keepText(c, sent->text());
    return carried;
}

} // namespace

int readAnswerRow(DBRow *row, int answerRow, const CellReader &read, RepeatedTexts *repeated,
                  const int *answerTypes)
{
    int firstMissing = -1;
    for (size_t c = 0; c < row->m_values.size(); ++c) {
        const int column = static_cast<int>(c);
        const int declared = row->m_cols[c].type;
        const int answered = answerTypes ? answerTypes[c] : declared;
        // A password column takes nothing stored, whatever type the answer gives it: its
        // value stays null, so that no page shows, compares or writes a stored password.
        const bool carried = answered == declared || declared == VEXADB_PWD
            ? readCell(row->m_values[c].get(), declared, read, answerRow, column, repeated)
            : readForeignCell(row, c, answered, read, answerRow);
        if (!carried && firstMissing < 0)
            firstMissing = column;
    }
    return firstMissing;
}
