#pragma once

#include "testserver.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace StandIn {

class ServerKey;
class StreamCipher;

// What a session asks of the server that runs it. Called from the session's
// own thread; the server serialises access to what they share.
class SessionHost
{
public:
    struct Reply
    {
        enum Kind { Send, SendThenDrop, Drop, Silence };
        Kind kind = Send;
        QByteArray bytes; // header and data block, before enciphering
        // Sent stepBytes at a time, stepMsecs apart; 0: at once.
        int stepBytes = 0;
        int stepMsecs = 0;
    };

    virtual ~SessionHost() = default;
    virtual GreetingPlan greeting() const = 0;
    virtual std::shared_ptr<const ServerKey> key() const = 0;
    // Sleeps for msecs unless the server stops first; false when it stops.
    virtual bool pause(int msecs) = 0;
    virtual void identified(quint32 session, const QString &identification) = 0;
    virtual bool authenticate(quint32 session, const QString &user, const QString &password) = 0;
    virtual Reply answer(quint32 session, const QString &statement) = 0;
};

// The server side of one connection, from the greeting to the last answer.
// Any breach of the protocol, a refused key block or a refused login ends it.
class Session
{
public:
    Session(SessionHost &host, int socket, quint32 id);
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    void run(); // returns when the connection is over; the socket stays open

    static constexpr quint32 MaxStatementLength = 64u << 20;
    static constexpr quint32 MaxKeyBlockLength = 1024;

private:
    bool sendGreeting();
    bool exchangeSessionKey();
    bool readIdentification();
    bool authenticate();
    void serveStatements();

    bool readPlain(void *buffer, std::size_t length);
    bool writePlain(const void *buffer, std::size_t length);
    bool readEnciphered(void *buffer, std::size_t length);
    bool writeEnciphered(QByteArray bytes);
    bool sendReply(const SessionHost::Reply &reply);
    bool readLengthPrefixedText(QString *text);

    SessionHost &m_host;
    int m_socket;
    quint32 m_id;
    std::unique_ptr<StreamCipher> m_cipher;
};

} // namespace StandIn
