#include "dbrow.h"

#include "vexadbtypes.h"

#include <algorithm>

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

std::unique_ptr<DBVal> newNullValue(int type)
{
    switch (type) {
    case VEXADB_INT:
        return std::make_unique<DBInt>();
    case VEXADB_INT64:
        return std::make_unique<DBInt64>();
    case VEXADB_IPADDR:
        return std::make_unique<DBIpAddr>();
    case VEXADB_BINARY:
        return std::make_unique<DBBinary>();
    case VEXADB_PORT:
        return std::make_unique<DBPort>();
    case VEXADB_IDLIST:
        return std::make_unique<DBIDList>();
    default:
        // STRING and PWD, and the codes whose cells are never read.
        return std::make_unique<DBStr>();
    }
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
    m_values.reserve(m_values.size() + count);
    for (int i = 0; i < count; ++i)
        m_values.push_back(newNullValue(m_cols[i].type));
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
        DBVal &target = *m_values[i];
        if (source.isNull())
            target.null = true;
        else if (&source != &target)
            target.setTextOf(source);
    }
}
