#include "refclient.h"

#include "refstream.h"

#include <openssl/bn.h>
#include <openssl/rand.h>
#include <openssl/rsa.h>

#include <cerrno>
#include <utility>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QByteArray u32(quint32 value)
{
    QByteArray out;
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char(value >> shift));
    return out;
}

bool waitReadable(int fd, int timeoutMs)
{
    pollfd watched{fd, POLLIN, 0};
    int ready;
    do {
        ready = ::poll(&watched, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
}

sockaddr_in loopback(quint16 port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A cell's text form, decoded by its type code on its own (not the server's code).
QString cellText(int type, const QByteArray &v)
{
    const auto *p = reinterpret_cast<const unsigned char *>(v.constData());
    switch (type) {
    case 1: // STRING
    case 5: // PWD
        return QString::fromUtf8(v.left(v.indexOf('\0') < 0 ? v.size() : v.indexOf('\0')));
    case 2: // INT
        return v.size() == 4 ? QString::number(qint32(RefClient::readU32(v, 0))) : QString();
    case 3: // INT64
        return v.size() == 8 ? QString::number(quint64(RefClient::readU32(v, 0)) << 32 | RefClient::readU32(v, 4))
                             : QString();
    case 4: // IPADDR
        return v.size() == 4 ? QStringLiteral("%1.%2.%3.%4").arg(p[0]).arg(p[1]).arg(p[2]).arg(p[3]) : QString();
    case 7: // PORT
        return v.size() == 2 ? QString::number(quint32(p[0]) << 8 | p[1]) : QString();
    case 6: // BINARY
        return QString::fromLatin1(v.toHex());
    case 8: { // IDLIST: length-prefixed items with their zero, then a zero word
        QStringList items;
        for (int at = 0; at + 4 <= v.size();) {
            const int length = int(RefClient::readU32(v, at));
            if (length == 0 || at + 4 + length > v.size())
                break;
            items.append(QString::fromLatin1(v.mid(at + 4, length - 1)));
            at += 4 + length;
        }
        return items.join(u',');
    }
    default:
        return QString();
    }
}

// The data block of an answer; false when it is cut short or has bytes left over.
bool parseBlock(RefClient::Answer *answer, const QByteArray &b)
{
    int at = 0;
    bool ok = true;
    const auto take = [&](qint64 n) {
        const QByteArray bytes = n >= 0 && n <= b.size() - at ? b.mid(at, int(n)) : QByteArray();
        ok = ok && bytes.size() == n;
        at += ok ? int(n) : 0;
        return bytes;
    };
    const auto word = [&] { return ok ? RefClient::readU32(take(4) + QByteArray(4, '\0'), 0) : 0u; };
    const QByteArray head = take(4) + QByteArray(4, '\0');
    const int kind = quint8(head.at(1));
    const int columns = quint8(head.at(2)) << 8 | quint8(head.at(3));
    const quint32 rows = word();
    answer->affected = word();
    take(4 * qint64(quint8(head.at(0))) - 12);
    const qint64 rowsStart = word() + qint64(at);
    if (kind != 115)
        return ok;
    for (int c = 0; ok && c < columns; ++c) {
        const int fixedLength = quint8((take(1) + '\0').at(0)); // itself, type, flags
        const QByteArray fixed = take(fixedLength - 1) + QByteArray(2, '\0');
        const QByteArray name = take(word());
        ok = ok && fixedLength >= 3 && name.endsWith('\0');
        answer->columns.append({quint8(fixed.at(0)), quint8(fixed.at(1)), QString::fromUtf8(name.chopped(ok ? 1 : 0))});
    }
    ok = ok && at == rowsStart;
    for (quint32 r = 0; ok && r < rows; ++r) {
        QList<QByteArray> row;
        for (int c = 0; c < columns; ++c)
            row.append(take(word()));
        answer->cells.append(row);
    }
    return ok && at == b.size();
}

} // namespace

quint32 RefClient::readU32(const QByteArray &bytes, int offset)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData()) + offset;
    return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | quint32(p[3]);
}

QList<QStringList> RefClient::Answer::texts() const
{
    QList<QStringList> rows;
    for (const QList<QByteArray> &row : cells) {
        QStringList texts;
        for (int c = 0; c < columns.size(); ++c)
            texts.append(cellText(columns.at(c).type, row.at(c)));
        rows.append(texts);
    }
    return rows;
}

QString RefClient::Answer::columnText() const
{
    QStringList parts;
    for (const ColumnInfo &c : columns)
        parts.append(QStringLiteral("%1:%2:%3").arg(c.name).arg(c.type).arg(c.flags));
    return parts.join(u'|');
}

RefClient::RefClient() = default;

RefClient::~RefClient()
{
    close();
}

void RefClient::close()
{
    for (int *fd : {&m_tcp, &m_udp}) {
        if (*fd >= 0)
            ::close(std::exchange(*fd, -1));
    }
}

bool RefClient::connectTo(quint16 port)
{
    m_tcp = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = loopback(port);
    return m_tcp >= 0 && ::connect(m_tcp, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
}

bool RefClient::readPlain(QByteArray *bytes, int length, int timeoutMs)
{
    bytes->resize(length);
    for (int at = 0; at < length;) {
        if (!waitReadable(m_tcp, timeoutMs))
            return false;
        const ssize_t received = ::recv(m_tcp, bytes->data() + at, size_t(length - at), 0);
        if (received <= 0)
            return false;
        at += int(received);
    }
    return true;
}

bool RefClient::writePlain(const QByteArray &bytes)
{
    return ::send(m_tcp, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL) == bytes.size();
}

bool RefClient::readDeciphered(QByteArray *bytes, int length, int timeoutMs)
{
    QByteArray cipher;
    const bool read = m_stream && readPlain(&cipher, length, timeoutMs);
    *bytes = read ? m_stream->decrypt(cipher) : QByteArray();
    return read;
}

bool RefClient::writeEnciphered(const QByteArray &bytes)
{
    return m_stream && writePlain(m_stream->encrypt(bytes));
}

bool RefClient::readAnnouncement()
{
    return readPlain(&m_announcement, 260) && keyBits() > 0 && keyBits() <= 1024;
}

bool RefClient::sendSessionKey(const QByteArray &givenKey)
{
    QByteArray key = givenKey;
    if (key.isEmpty()) {
        key.resize(16);
        RAND_bytes(reinterpret_cast<unsigned char *>(key.data()), 16);
    }
    const auto *numbers = reinterpret_cast<const unsigned char *>(m_announcement.constData());
    RSA *rsa = RSA_new();
    RSA_set0_key(rsa, BN_bin2bn(numbers + 4, 128, nullptr), BN_bin2bn(numbers + 132, 128, nullptr), nullptr);
    QByteArray block(RSA_size(rsa), '\0');
    const int length = RSA_public_encrypt(int(key.size()), reinterpret_cast<const unsigned char *>(key.constData()),
                                          reinterpret_cast<unsigned char *>(block.data()), rsa, RSA_PKCS1_PADDING);
    RSA_free(rsa);
    if (length != block.size() || !writePlain(u32(quint32(length)) + block))
        return false;
    if (key.size() == 16)
        m_stream = std::make_unique<RefStream>(key);
    return true;
}

bool RefClient::identify(const QByteArray &name)
{
    QByteArray field = name.left(31);
    field.append(QByteArray(32 - field.size(), '\0'));
    QByteArray id;
    if (!writeEnciphered(field) || !readDeciphered(&id, 4))
        return false;
    m_sessionId = readU32(id, 0);
    return true;
}

bool RefClient::registerUpdates(quint16 port)
{
    m_udp = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in any = loopback(0);
    if (m_udp < 0 || ::bind(m_udp, reinterpret_cast<const sockaddr *>(&any), sizeof any) != 0)
        return false;
    const sockaddr_in server = loopback(port);
    const QByteArray registration = u32(m_sessionId);
    return ::sendto(m_udp, registration.constData(), 4, 0, reinterpret_cast<const sockaddr *>(&server),
                    sizeof server)
           == 4;
}

bool RefClient::authenticate(const QByteArray &user, const QByteArray &password, quint32 *result)
{
    QByteArray message(1, '\0');
    message.append(char(user.size() + 1)).append(user).append('\0');
    message.append(char(password.size() + 1)).append(password).append('\0');
    QByteArray answer;
    if (!writeEnciphered(message) || !readDeciphered(&answer, 4))
        return false;
    if (result)
        *result = readU32(answer, 0);
    return true;
}

bool RefClient::handshake(quint16 port, const QByteArray &user, const QByteArray &password)
{
    QByteArray greeting;
    return connectTo(port) && readPlain(&greeting, 7) && greeting.at(0) == 17 && readAnnouncement()
           && sendSessionKey() && identify() && registerUpdates(port) && authenticate(user, password);
}

bool RefClient::sendStatement(const QByteArray &text)
{
    QByteArray request("\1\0\0\0", 4);
    request.append(u32(quint32(text.size() + 1))).append(u32(0));
    request.append(text).append('\0');
    return writeEnciphered(request);
}

bool RefClient::readAnswer(Answer *answer, int timeoutMs)
{
    *answer = Answer();
    QByteArray header;
    if (!readDeciphered(&header, 16, timeoutMs))
        return false;
    const quint32 length = readU32(header, 4);
    answer->status = readU32(header, 8);
    answer->detail = readU32(header, 12);
    if (answer->status != 0)
        return length == 0;
    QByteArray block;
    return readDeciphered(&block, int(length), timeoutMs) && parseBlock(answer, block);
}

bool RefClient::closedByPeer(int timeoutMs)
{
    char byte;
    return waitReadable(m_tcp, timeoutMs) && ::recv(m_tcp, &byte, 1, 0) == 0;
}

bool RefClient::quietFor(int timeoutMs)
{
    return !waitReadable(m_tcp, timeoutMs);
}

QByteArray RefClient::receiveDatagram(int timeoutMs)
{
    if (m_udp < 0 || !waitReadable(m_udp, timeoutMs))
        return QByteArray();
    QByteArray datagram(2048, '\0');
    const ssize_t length = ::recv(m_udp, datagram.data(), size_t(datagram.size()), 0);
    datagram.resize(length > 0 ? int(length) : 0);
    return datagram;
}
