#include "dbval.h"

#include "vexadbtypes.h"
#include "vexasupport.h"

#include <arpa/inet.h>

#include <cstdlib>

namespace {

// strtol's reading of the Latin-1 form: white space, a sign, then digits up to
// the first other character; nothing parsed gives 0.
long decimal(const QString &text)
{
    return strtol(text.toLatin1().constData(), nullptr, 10);
}

} // namespace

DBVal::~DBVal() = default;

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

DBPort::DBPort(int port)
    : m_port(static_cast<uint16_t>(port))
{
    null = false;
}

QString DBPort::text() const
{
    return null ? QString() : QString::number(ntohs(m_port));
}

void DBPort::set(const QString &text)
{
    null = text.isEmpty();
    m_port = null ? 0 : htons(static_cast<uint16_t>(decimal(text)));
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
