#include "refclient.h"

#include "refstream.h"

#include <openssl/bn.h>
#include <openssl/rand.h>
#include <openssl/rsa.h>

#include <cerrno>

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

} // namespace

quint32 RefClient::readU32(const QByteArray &bytes, int offset)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData()) + offset;
    return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | quint32(p[3]);
}

QString RefClient::Answer::text(int row, int column) const
{
    const QByteArray &v = cells.at(row).at(column);
    const auto *p = reinterpret_cast<const unsigned char *>(v.constData());
    switch (columns.at(column).type) {
    case 1: // STRING
    case 5: // PWD
        return QString::fromUtf8(v.left(v.indexOf('\0') < 0 ? v.size() : v.indexOf('\0')));
    case 2: // INT
        return v.size() == 4 ? QString::number(qint32(readU32(v, 0))) : QString();
    case 3: // INT64
        return v.size() == 8 ? QString::number(quint64(readU32(v, 0)) << 32 | readU32(v, 4))
                             : QString();
    case 4: // IPADDR
        return v.size() == 4 ? QStringLiteral("%1.%2.%3.%4").arg(p[0]).arg(p[1]).arg(p[2]).arg(p[3])
                             : QString();
    case 7: // PORT
        return v.size() == 2 ? QString::number(quint32(p[0]) << 8 | p[1]) : QString();
    case 6: // BINARY
        return QString::fromLatin1(v.toHex());
    case 8: { // IDLIST
        QStringList items;
        int at = 0;
        while (at + 4 <= v.size()) {
            const quint32 length = readU32(v, at);
            if (length == 0 || at + 4 + int(length) > v.size())
                break;
            items.append(QString::fromLatin1(v.mid(at + 4, int(length) - 1)));
            at += 4 + int(length);
        }
        return items.join(u',');
    }
    default:
        return QString();
    }
}

QList<QStringList> RefClient::Answer::texts() const
{
    QList<QStringList> rows;
    for (int r = 0; r < cells.size(); ++r) {
        QStringList row;
        for (int c = 0; c < columns.size(); ++c)
            row.append(text(r, c));
        rows.append(row);
    }
    return rows;
}

RefClient::RefClient() = default;

RefClient::~RefClient()
{
    close();
}

void RefClient::close()
{
    if (m_tcp >= 0)
        ::close(m_tcp);
    if (m_udp >= 0)
        ::close(m_udp);
    m_tcp = m_udp = -1;
}

bool RefClient::connectTo(quint16 port)
{
    m_tcp = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = loopback(port);
    return m_tcp >= 0
           && ::connect(m_tcp, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
}

bool RefClient::readPlain(char *buffer, int length, int timeoutMs)
{
    while (length > 0) {
        if (!waitReadable(m_tcp, timeoutMs))
            return false;
        const ssize_t received = ::recv(m_tcp, buffer, size_t(length), 0);
        if (received <= 0)
            return false;
        buffer += received;
        length -= int(received);
    }
    return true;
}

bool RefClient::writePlain(const QByteArray &bytes)
{
    return ::send(m_tcp, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL) == bytes.size();
}

bool RefClient::readEnciphered(QByteArray *bytes, int length, int timeoutMs)
{
    QByteArray cipher(length, '\0');
    if (!readPlain(cipher.data(), length, timeoutMs))
        return false;
    *bytes = m_stream->decrypt(cipher);
    return true;
}

bool RefClient::writeEnciphered(const QByteArray &bytes)
{
    return writePlain(m_stream->encrypt(bytes));
}

bool RefClient::readPlainBytes(QByteArray *bytes, int length, int timeoutMs)
{
    bytes->resize(length);
    return readPlain(bytes->data(), length, timeoutMs);
}

bool RefClient::readDecipheredBytes(QByteArray *bytes, int length, int timeoutMs)
{
    return readEnciphered(bytes, length, timeoutMs);
}

bool RefClient::readGreeting(QByteArray *greeting)
{
    greeting->resize(7);
    return readPlain(greeting->data(), 7);
}

bool RefClient::readAnnouncement()
{
    QByteArray announcement(260, '\0');
    if (!readPlain(announcement.data(), 260))
        return false;
    m_keyBits = int(readU32(announcement, 0));
    m_modulus = announcement.mid(4, 128);
    m_exponent = announcement.mid(132, 128);
    return m_keyBits > 0 && m_keyBits <= 1024;
}

bool RefClient::sendSessionKey(const QByteArray &givenKey)
{
    QByteArray key = givenKey;
    if (key.isEmpty()) {
        key.resize(16);
        RAND_bytes(reinterpret_cast<unsigned char *>(key.data()), 16);
    }
    RSA *rsa = RSA_new();
    BIGNUM *n = BN_bin2bn(reinterpret_cast<const unsigned char *>(m_modulus.constData()), 128, nullptr);
    BIGNUM *e = BN_bin2bn(reinterpret_cast<const unsigned char *>(m_exponent.constData()), 128, nullptr);
    RSA_set0_key(rsa, n, e, nullptr);
    QByteArray block(RSA_size(rsa), '\0');
    const int length = RSA_public_encrypt(int(key.size()),
                                          reinterpret_cast<const unsigned char *>(key.constData()),
                                          reinterpret_cast<unsigned char *>(block.data()), rsa,
                                          RSA_PKCS1_PADDING);
    RSA_free(rsa);
    if (length != block.size())
        return false;
    if (!writePlain(u32(quint32(length)) + block))
        return false;
    if (key.size() == 16)
        m_stream = std::make_unique<RefStream>(key);
    return true;
}

bool RefClient::sendIdentification(const QByteArray &name)
{
    QByteArray field = name.left(31);
    field.append(QByteArray(32 - field.size(), '\0'));
    return writeEnciphered(field);
}

bool RefClient::readSessionId()
{
    QByteArray id;
    if (!readEnciphered(&id, 4))
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
    return ::sendto(m_udp, registration.constData(), 4, 0,
                    reinterpret_cast<const sockaddr *>(&server), sizeof server)
           == 4;
}

bool RefClient::authenticate(const QByteArray &user, const QByteArray &password, quint32 *result)
{
    QByteArray message(1, '\0');
    message.append(char(user.size() + 1)).append(user).append('\0');
    message.append(char(password.size() + 1)).append(password).append('\0');
    QByteArray answer;
    if (!writeEnciphered(message) || !readEnciphered(&answer, 4))
        return false;
    if (result)
        *result = readU32(answer, 0);
    return true;
}

bool RefClient::handshake(quint16 port, const QByteArray &user, const QByteArray &password)
{
    QByteArray greeting;
    return connectTo(port) && readGreeting(&greeting) && greeting.at(0) == 17
           && readAnnouncement() && sendSessionKey()
           && sendIdentification("Ornel Admin 5.0 (Linux)") && readSessionId()
           && registerUpdates(port) && authenticate(user, password);
}

bool RefClient::sendStatement(const QByteArray &text)
{
    QByteArray request(1, '\1');
    request.append(QByteArray(3, '\0'));
    request.append(u32(quint32(text.size() + 1)));
    request.append(u32(0));
    request.append(text).append('\0');
    return writeEnciphered(request);
}

bool RefClient::parseBlock(Answer *answer)
{
    const QByteArray &b = answer->block;
    if (b.size() < 16)
        return false;
    const int headerWords = quint8(b.at(0));
    answer->kind = quint8(b.at(1));
    const int columnCount = quint8(b.at(2)) << 8 | quint8(b.at(3));
    const quint32 rowCount = readU32(b, 4);
    answer->spare1 = readU32(b, 8);
    int at = 4 * headerWords;
    if (at + 4 > b.size())
        return false;
    const quint32 descriptorBytes = readU32(b, at);
    at += 4;
    const int rowsStart = at + int(descriptorBytes);
    if (answer->kind != 115)
        return true;
    for (int c = 0; c < columnCount; ++c) {
        if (at + 1 > rowsStart)
            return false;
        const int fixed = quint8(b.at(at));
        if (fixed < 3 || at + fixed + 4 > rowsStart)
            return false;
        ColumnInfo column;
        column.type = quint8(b.at(at + 1));
        column.flags = quint8(b.at(at + 2));
        const quint32 nameLength = readU32(b, at + fixed);
        const int name = at + fixed + 4;
        if (nameLength == 0 || name + int(nameLength) > rowsStart || b.at(name + int(nameLength) - 1) != '\0')
            return false;
        column.name = QString::fromUtf8(b.mid(name, int(nameLength) - 1));
        answer->columns.append(column);
        at = name + int(nameLength);
    }
    if (at != rowsStart)
        return false;
    for (quint32 r = 0; r < rowCount; ++r) {
        QList<QByteArray> row;
        for (int c = 0; c < columnCount; ++c) {
            if (at + 4 > b.size())
                return false;
            const quint32 length = readU32(b, at);
            if (at + 4 + qint64(length) > b.size())
                return false;
            row.append(b.mid(at + 4, int(length)));
            at += 4 + int(length);
        }
        answer->cells.append(row);
    }
    return at == b.size();
}

bool RefClient::readAnswer(Answer *answer, int timeoutMs)
{
    *answer = Answer();
    QByteArray header;
    if (!readEnciphered(&header, 16, timeoutMs))
        return false;
    answer->word0 = readU32(header, 0);
    const quint32 length = readU32(header, 4);
    answer->status = readU32(header, 8);
    answer->detail = readU32(header, 12);
    if (answer->status != 0)
        return length == 0;
    return readEnciphered(&answer->block, int(length), timeoutMs) && parseBlock(answer);
}

bool RefClient::query(const QString &text, Answer *answer)
{
    return sendStatement(text.toUtf8()) && readAnswer(answer);
}

bool RefClient::closedByPeer(int timeoutMs)
{
    if (!waitReadable(m_tcp, timeoutMs))
        return false;
    char byte;
    return ::recv(m_tcp, &byte, 1, 0) == 0;
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
