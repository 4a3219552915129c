#include "dbval.h"

#include "valueblock_p.h"
#include "vexadbtypes.h"
#include "vexasupport.h"

#include <arpa/inet.h>

#include <cstdlib>
#include <typeinfo>

namespace {

// The other value as one of this kind, or null when it is of another.
template<class Kind>
const Kind *ofKind(const DBVal &other)
{
    return typeid(other) == typeid(Kind) ? static_cast<const Kind *>(&other) : nullptr;
}

// The number kinds, the address and the port: their text forms map one to one onto their
// stored numbers, and a null value's text is the only empty one. So set() of a null value's
// text stores null and 0, of another value's text its number.
template<class Kind, class Number>
void setNumberTextOf(Kind &self, Number Kind::*number, const DBVal &other)
{
    const Kind *same = ofKind<Kind>(other);
    if (!same) {
        self.DBVal::setTextOf(other);
        return;
    }
    self.null = same->null;
    self.*number = same->null ? Number(0) : same->*number;
}

template<class Kind, class Number>
bool sameNumberText(const Kind &self, Number Kind::*number, const DBVal &other)
{
    const Kind *same = ofKind<Kind>(other);
    if (!same)
        return self.DBVal::sameText(other);
    return self.null == same->null && (self.null || self.*number == same->*number);
}

// strtol's reading of the Latin-1 form: white space, a sign, then digits up to
// the first other character; nothing parsed gives 0.
long decimal(const QString &text)
{
    return strtol(text.toLatin1().constData(), nullptr, 10);
}

} // namespace

DBVal::~DBVal() = default;

void *DBVal::operator new(std::size_t size)
{
    return ValueBlock::allocateAlone(size);
}

void *DBVal::operator new(std::size_t, void *place) noexcept
{
    return place;
}

void DBVal::operator delete(void *value)
{
    ValueBlock::release(value);
}

void DBVal::operator delete(void *, void *) noexcept
{
}

void DBVal::setTextOf(const DBVal &other)
{
    set(other.text());
}

bool DBVal::sameText(const DBVal &other) const
{
    return text() == other.text();
}

DBStr::~DBStr() = default;

QString DBStr::text() const
{
    return m_value;
}

void DBStr::set(const QString &text)
{
    // Never null afterwards, so an empty text is kept as the empty string.
    m_value = text.isNull() ? QString(QLatin1String("")) : text;
    null = false;
}

bool DBStr::sameText(const DBVal &other) const
{
    const DBStr *same = ofKind<DBStr>(other);
    if (!same)
        return DBVal::sameText(other);
    // A row and its original share the text they were loaded with.
    const bool shared = m_value.constData() == same->m_value.constData()
        && m_value.size() == same->m_value.size();
    return shared || m_value == same->m_value;
}

DBInt::DBInt(int value)
    : m_value(value)
{
    null = false;
}

QString DBInt::text() const
{
    return null ? QString() : QString::number(m_value);
}

void DBInt::set(const QString &text)
{
    null = text.isEmpty();
    // Keeps the low 32 bits, so the unsigned form the server link writes
    // ("4294967295") reads back as the same cell value.
    m_value = null ? 0 : static_cast<int>(static_cast<uint32_t>(decimal(text)));
}

void DBInt::setTextOf(const DBVal &other)
{
    setNumberTextOf(*this, &DBInt::m_value, other);
}

bool DBInt::sameText(const DBVal &other) const
{
    return sameNumberText(*this, &DBInt::m_value, other);
}

DBInt64::DBInt64(long long value)
    : m_value(value)
{
    null = false;
}

QString DBInt64::text() const
{
    if (null)
        return QString();
    char digits[72];
    return QString::fromLatin1(i64toa(m_value, digits, 10));
}

void DBInt64::set(const QString &text)
{
    null = text.isEmpty();
    m_value = null ? 0 : atoi64(text.toLatin1().constData());
}

void DBInt64::setTextOf(const DBVal &other)
{
    setNumberTextOf(*this, &DBInt64::m_value, other);
}

bool DBInt64::sameText(const DBVal &other) const
{
    return sameNumberText(*this, &DBInt64::m_value, other);
}

DBIpAddr::DBIpAddr(unsigned int address)
    : m_address(address)
{
    null = false;
}

QString DBIpAddr::text() const
{
    if (null)
        return QString();
    in_addr address;
    address.s_addr = m_address;
    char dotted[INET_ADDRSTRLEN];
    return QString::fromLatin1(inet_ntop(AF_INET, &address, dotted, sizeof dotted));
}

void DBIpAddr::set(const QString &text)
{
    null = text.isEmpty();
    m_address = null ? 0 : static_cast<unsigned int>(inet_addr(text.toLatin1().constData()));
}

void DBIpAddr::setTextOf(const DBVal &other)
{
    setNumberTextOf(*this, &DBIpAddr::m_address, other);
}

bool DBIpAddr::sameText(const DBVal &other) const
{
    return sameNumberText(*this, &DBIpAddr::m_address, other);
}

DBPort::DBPort(int port)
    : m_number(ntohs(static_cast<uint16_t>(port)))
{
    null = false;
}

QString DBPort::text() const
{
    return null ? QString() : QString::number(m_number);
}

void DBPort::set(const QString &text)
{
    null = text.isEmpty();
    m_number = null ? 0 : decimal(text);
}

void DBPort::setTextOf(const DBVal &other)
{
    setNumberTextOf(*this, &DBPort::m_number, other);
}

bool DBPort::sameText(const DBVal &other) const
{
    return sameNumberText(*this, &DBPort::m_number, other);
}

uint16_t DBPort::port() const
{
    return htons(static_cast<uint16_t>(m_number));
}

DBBinary::DBBinary(const char *text)
{
    set(QString::fromLocal8Bit(text));
}

DBBinary::~DBBinary() = default;

QString DBBinary::text() const
{
    return m_hex;
}

void DBBinary::set(const QString &text)
{
    m_hex = text.isNull() ? QString(QLatin1String("")) : text;
    null = false;
}

bool DBBinary::sameText(const DBVal &other) const
{
    const DBBinary *same = ofKind<DBBinary>(other);
    return same ? m_hex == same->m_hex : DBVal::sameText(other);
}

DBIDList::DBIDList(const char *text)
{
    set(QString::fromLocal8Bit(text));
}

DBIDList::~DBIDList() = default;

QString DBIDList::text() const
{
    if (null)
        return QString();
    char text[BufferSize];
    vexadb_val2str(VEXADB_IDLIST, text, BufferSize, m_list.constData(), int(m_list.size()));
    return QString::fromLatin1(text);
}

bool DBIDList::sameText(const DBVal &other) const
{
    // Equal list forms read alike; unequal ones may too (a list of no items reads
    // as a null list does), which only their texts tell.
    const DBIDList *same = ofKind<DBIDList>(other);
    if (same && null == same->null && (null || m_list == same->m_list))
        return true;
    return DBVal::sameText(other);
}

void DBIDList::set(const QString &text)
{
    // An empty text leaves the list as it was and only marks the cell null.
    if (text.isEmpty()) {
        null = true;
        return;
    }
    const QByteArray latin1 = text.left(BufferSize - 1).toLatin1();
    char list[BufferSize];
    const int written = vexadb_str2val(VEXADB_IDLIST, latin1.constData(), list, BufferSize);
    m_list = QByteArray(list, written);
    null = false;
}
