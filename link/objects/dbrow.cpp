#include "dbrow.h"

#include "valueblock_p.h"
#include "vexadbtypes.h"

#include <algorithm>
#include <type_traits>
#include <typeinfo>

namespace {

// Only the GUI thread makes rows, so the counter needs no lock.
int s_identityCounter = 0;

int nextIdentity()
{
    const int id = s_identityCounter;
    // Wraps instead of overflowing: numbers only have to differ within a table.
    s_identityCounter = static_cast<int>(static_cast<unsigned>(s_identityCounter) + 1u);
    return id;
}

// Calls use(kind) with a null value of the kind the column type calls for, as a type tag.
template<class Use>
auto withValueKind(int type, Use &&use)
{
    switch (type) {
    case VEXADB_INT:
        return use(static_cast<DBInt *>(nullptr));
    case VEXADB_INT64:
        return use(static_cast<DBInt64 *>(nullptr));
    case VEXADB_IPADDR:
        return use(static_cast<DBIpAddr *>(nullptr));
    case VEXADB_BINARY:
        return use(static_cast<DBBinary *>(nullptr));
    case VEXADB_PORT:
        return use(static_cast<DBPort *>(nullptr));
    case VEXADB_IDLIST:
        return use(static_cast<DBIDList *>(nullptr));
    default:
        // STRING and PWD, and the codes whose cells are never read.
        return use(static_cast<DBStr *>(nullptr));
    }
}

bool isStringKind(int type)
{
    return withValueKind(type, [](auto *kind) {
        return std::is_same_v<std::remove_pointer_t<decltype(kind)>, DBStr>;
    });
}

std::size_t slotSizeOf(int type)
{
    return withValueKind(type, [](auto *kind) {
        return ValueBlock::slotSize(sizeof(*kind));
    });
}

DBVal *placeNullValue(int type, ValueBlock &block)
{
    return withValueKind(type, [&block](auto *kind) -> DBVal * {
        using Kind = std::remove_pointer_t<decltype(kind)>;
        return new (block.nextSlot(sizeof(Kind))) Kind();
    });
}

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// strcasecmp would follow the locale the application set; column names are ASCII.
bool equalIgnoringAsciiCase(const char *a, const char *b)
{
    for (; *a && *b; ++a, ++b) {
        if (asciiLower(*a) != asciiLower(*b))
            return false;
    }
    return *a == *b;
}

} // namespace

DBRow::DBRow(const DBCOL *cols)
    : m_cols(cols)
    , m_id(nextIdentity())
{
    allocEmptyValues();
}

DBRow::DBRow(const DBRow &other)
    : m_cols(other.m_cols)
    , m_id(other.m_id)
{
    allocEmptyValues();
    copyValuesFrom(other);
}

DBRow &DBRow::operator=(const DBRow &other)
{
    if (m_cols != other.m_cols) {
        // Values of another column table would not match the names and types the
        // statements read from m_cols, so the row takes values of the new kinds.
        m_values.clear();
        m_cols = other.m_cols;
        allocEmptyValues();
    }
    m_id = other.m_id;
    copyValuesFrom(other);
    return *this;
}

DBRow::~DBRow() = default;

void DBRow::allocEmptyValues()
{
    const int count = dbcolCount(m_cols);
    if (count == 0)
        return;
    m_values.reserve(m_values.size() + count);
    std::size_t bytes = 0;
    for (int i = 0; i < count; ++i)
        bytes += slotSizeOf(m_cols[i].type);
    ValueBlock block(bytes);
    for (int i = 0; i < count; ++i)
        m_values.emplace_back(placeNullValue(m_cols[i].type, block));
}

std::unique_ptr<DBVal> DBRow::newValue(int type)
{
    return withValueKind(type, [](auto *kind) -> std::unique_ptr<DBVal> {
        using Kind = std::remove_pointer_t<decltype(kind)>;
        return std::make_unique<Kind>();
    });
}

void DBRow::keepText(size_t column, const QString &text)
{
    std::unique_ptr<DBVal> &value = m_values.at(column);
    value->set(text);
    if (value->text() == text)
        return;
    value = std::make_unique<DBStr>();
    value->set(text);
}

int DBRow::colIndex(const char *name) const
{
    if (!name || !m_cols)
        return -1;
    const int count = static_cast<int>(m_values.size());
    for (int i = 0; i < count && m_cols[i].name; ++i) {
        if (equalIgnoringAsciiCase(m_cols[i].name, name))
            return i;
    }
    return -1;
}

void DBRow::copyValuesFrom(const DBRow &other)
{
    const size_t count = std::min(m_values.size(), other.m_values.size());
    for (size_t i = 0; i < count; ++i) {
        const DBVal &source = *other.m_values[i];
        if (&source == m_values[i].get())
            continue;
        if (keepsSentText(i, source))
            m_values[i] = std::make_unique<DBStr>();
        DBVal &target = *m_values[i];
        if (source.isNull())
            target.null = true;
        else
            target.setTextOf(source);
    }
}

bool DBRow::keepsSentText(size_t column, const DBVal &source) const
{
    // Only a column of another kind can hold a string value kept by keepText.
    return !isStringKind(m_cols[column].type) && typeid(source) == typeid(DBStr)
        && typeid(*m_values[column]) != typeid(DBStr);
}
