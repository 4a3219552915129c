#include "session_p.h"

#include "serverkey_p.h"
#include "streamcipher_p.h"
#include "wire_p.h"

#include <QStringDecoder>

#include <openssl/crypto.h>

#include <cerrno>

#include <sys/socket.h>

namespace StandIn {

namespace {

constexpr int IdentificationLength = 32;
constexpr quint8 AuthenticateCommand = 0;
constexpr quint8 StatementCommand = 1;
constexpr int StatementHeaderLength = 12;
constexpr quint32 AuthenticationAccepted = 0;

// Text up to its first zero byte.
QByteArray untilZero(const QByteArray &bytes)
{
    const qsizetype zero = bytes.indexOf('\0');
    return zero < 0 ? bytes : bytes.left(zero);
}

// Statements are UTF-8; text the console wrote as Latin-1 (some page-built
// statements are) is read as such rather than mangled.
QString decodeStatement(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

} // namespace

Session::Session(SessionHost &host, int socket, quint32 id)
    : m_host(host)
    , m_socket(socket)
    , m_id(id)
{
}

Session::~Session() = default;

void Session::run()
{
    if (!sendGreeting() || !exchangeSessionKey() || !readIdentification() || !authenticate())
        return;
    serveStatements();
}

bool Session::readPlain(void *buffer, std::size_t length)
{
    auto *bytes = static_cast<char *>(buffer);
    while (length > 0) {
        const ssize_t received = ::recv(m_socket, bytes, length, 0);
        if (received < 0 && errno == EINTR)
            continue;
        if (received <= 0)
            return false;
        bytes += received;
        length -= std::size_t(received);
    }
    return true;
}

bool Session::writePlain(const void *buffer, std::size_t length)
{
    const auto *bytes = static_cast<const char *>(buffer);
    while (length > 0) {
        const ssize_t sent = ::send(m_socket, bytes, length, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        bytes += sent;
        length -= std::size_t(sent);
    }
    return true;
}

bool Session::readEnciphered(void *buffer, std::size_t length)
{
    if (!readPlain(buffer, length))
        return false;
    m_cipher->decipherIncoming(static_cast<unsigned char *>(buffer), length);
    return true;
}

bool Session::writeEnciphered(QByteArray bytes)
{
    m_cipher->encipherOutgoing(reinterpret_cast<unsigned char *>(bytes.data()),
                               std::size_t(bytes.size()));
    return writePlain(bytes.constData(), std::size_t(bytes.size()));
}

bool Session::sendReply(const SessionHost::Reply &reply)
{
    if (reply.stepBytes <= 0)
        return writeEnciphered(reply.bytes);
    // The stream is enciphered in order, whatever the pace it leaves at.
    QByteArray bytes = reply.bytes;
    m_cipher->encipherOutgoing(reinterpret_cast<unsigned char *>(bytes.data()),
                               std::size_t(bytes.size()));
    for (qsizetype sent = 0; sent < bytes.size(); sent += reply.stepBytes) {
        if (sent > 0 && !m_host.pause(reply.stepMsecs))
            return false;
        const qsizetype step = qMin(qsizetype(reply.stepBytes), bytes.size() - sent);
        if (!writePlain(bytes.constData() + sent, std::size_t(step)))
            return false;
    }
    return true;
}

bool Session::sendGreeting()
{
    const GreetingPlan plan = m_host.greeting();
    qsizetype sent = 0;
    qsizetype lastPause = -1; // offset 0 pauses before the first byte
    for (int pauseAt : plan.pauseAt) {
        if (pauseAt <= lastPause || pauseAt >= plan.bytes.size())
            continue;
        lastPause = pauseAt;
        if (!writePlain(plan.bytes.constData() + sent, std::size_t(pauseAt - sent))
            || !m_host.pause(plan.pauseMs))
            return false;
        sent = pauseAt;
    }
    if (!writePlain(plan.bytes.constData() + sent, std::size_t(plan.bytes.size() - sent)))
        return false;
    return !plan.closeAfter;
}

bool Session::exchangeSessionKey()
{
    const std::shared_ptr<const ServerKey> key = m_host.key();
    const QByteArray announcement = key->announcement();
    if (!writePlain(announcement.constData(), std::size_t(announcement.size())))
        return false;

    unsigned char lengthBytes[4];
    if (!readPlain(lengthBytes, sizeof lengthBytes))
        return false;
    const quint32 length = Wire::readU32(lengthBytes);
    if (length == 0 || length > MaxKeyBlockLength)
        return false;
    QByteArray block(qsizetype(length), Qt::Uninitialized);
    if (!readPlain(block.data(), length))
        return false;

    unsigned char sessionKey[ServerKey::SessionKeyLength];
    if (!key->decryptSessionKey(block, sessionKey))
        return false;
    m_cipher = std::make_unique<StreamCipher>(sessionKey);
    OPENSSL_cleanse(sessionKey, sizeof sessionKey);
    return true;
}

bool Session::readIdentification()
{
    QByteArray identification(IdentificationLength, Qt::Uninitialized);
    if (!readEnciphered(identification.data(), IdentificationLength))
        return false;
    m_host.identified(m_id, QString::fromLatin1(untilZero(identification)));

    QByteArray id;
    Wire::appendU32(id, m_id);
    return writeEnciphered(id);
}

bool Session::readLengthPrefixedText(QString *text)
{
    quint8 length = 0;
    if (!readEnciphered(&length, 1))
        return false;
    QByteArray bytes(length, Qt::Uninitialized);
    if (!readEnciphered(bytes.data(), length))
        return false;
    // User names and passwords travel in the console's 8-bit form.
    *text = QString::fromLatin1(untilZero(bytes));
    return true;
}

bool Session::authenticate()
{
    quint8 command = 0xff;
    if (!readEnciphered(&command, 1) || command != AuthenticateCommand)
        return false;
    QString user;
    QString password;
    if (!readLengthPrefixedText(&user) || !readLengthPrefixedText(&password))
        return false;
    // A refused login is answered by closing the connection, nothing else.
    if (!m_host.authenticate(m_id, user, password))
        return false;
    QByteArray result;
    Wire::appendU32(result, AuthenticationAccepted);
    return writeEnciphered(result);
}

void Session::serveStatements()
{
    while (true) {
        unsigned char header[StatementHeaderLength];
        if (!readEnciphered(header, sizeof header) || header[0] != StatementCommand)
            return;
        const quint32 length = Wire::readU32(header + 4);
        if (length > MaxStatementLength)
            return;
        QByteArray text(qsizetype(length), Qt::Uninitialized);
        if (!readEnciphered(text.data(), length))
            return;

        const SessionHost::Reply reply = m_host.answer(m_id, decodeStatement(untilZero(text)));
        switch (reply.kind) {
        case SessionHost::Reply::Drop:
            return;
        case SessionHost::Reply::Silence:
            break;
        case SessionHost::Reply::Send:
            if (!sendReply(reply))
                return;
            break;
        case SessionHost::Reply::SendThenDrop:
            sendReply(reply);
            return;
        }
    }
}

} // namespace StandIn
