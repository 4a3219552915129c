#pragma once

// The client side of the administration protocol, written for the tests with OpenSSL and
// the reference stream only: it proves the stand-in server without the module's code.
// Every step reports failure (a closed connection, a time-out, a malformed message) as false.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class RefStream;

class RefClient
{
public:
    struct ColumnInfo
    {
        int type = 0;
        int flags = 0;
        QString name;
    };

    struct Answer
    {
        quint32 status = 0;
        quint32 detail = 0;
        quint32 affected = 0;           // spare word 1 of the data block
        QList<ColumnInfo> columns;
        QList<QList<QByteArray>> cells; // raw value bytes, row by row

        // Cells in their text form, decoded by the column's type code.
        QList<QStringList> texts() const;
        QString columnText() const;     // "name:type:flags|..."
    };

    RefClient();
    ~RefClient();
    RefClient(const RefClient &) = delete;
    RefClient &operator=(const RefClient &) = delete;

    bool connectTo(quint16 port);
    bool readAnnouncement();            // the 260-byte key announcement
    // A random key when none is given; only a 16-byte key starts the stream.
    bool sendSessionKey(const QByteArray &key = QByteArray());
    // Sends the 32-byte identification and reads the session id.
    bool identify(const QByteArray &name = "Ornel Admin 5.0 (Linux)");
    bool registerUpdates(quint16 port);
    bool authenticate(const QByteArray &user, const QByteArray &password, quint32 *result = nullptr);
    // Greeting, key, identification, registration and login.
    bool handshake(quint16 port, const QByteArray &user = "admin", const QByteArray &password = "admin");

    bool writePlain(const QByteArray &bytes);
    bool readPlain(QByteArray *bytes, int length, int timeoutMs = 5000);
    bool readDeciphered(QByteArray *bytes, int length, int timeoutMs = 5000);

    bool sendStatement(const QByteArray &text);
    bool readAnswer(Answer *answer, int timeoutMs = 5000);
    bool query(const QString &text, Answer *answer) { return sendStatement(text.toUtf8()) && readAnswer(answer); }

    // True once the server has closed the connection without sending anything more.
    bool closedByPeer(int timeoutMs = 5000);
    // True when nothing arrives within timeoutMs.
    bool quietFor(int timeoutMs);
    QByteArray receiveDatagram(int timeoutMs = 2000);

    quint32 sessionId() const { return m_sessionId; }
    const QByteArray &announcement() const { return m_announcement; }
    int keyBits() const { return int(readU32(m_announcement, 0)); }
    void close();

    static quint32 readU32(const QByteArray &bytes, int offset);

private:
    bool writeEnciphered(const QByteArray &bytes);

    int m_tcp = -1;
    int m_udp = -1;
    quint32 m_sessionId = 0;
    QByteArray m_announcement;
    std::unique_ptr<RefStream> m_stream;
};
