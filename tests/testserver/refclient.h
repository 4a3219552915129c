#pragma once

// The client side of the administration protocol, written for the tests with
// OpenSSL and the reference stream only: it proves the stand-in server
// without the module's code.

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
        quint32 word0 = 0;
        quint32 status = 0;
        quint32 detail = 0;
        QByteArray block;           // the data block as it arrived
        int kind = -1;
        quint32 spare1 = 0;
        QList<ColumnInfo> columns;
        QList<QList<QByteArray>> cells; // raw value bytes, row by row

        // A cell in its text form, decoded by the column's type code.
        QString text(int row, int column) const;
        QList<QStringList> texts() const;
    };

    RefClient();
    ~RefClient();
    RefClient(const RefClient &) = delete;
    RefClient &operator=(const RefClient &) = delete;

    // Each step reports failure (a closed connection, a time-out, a malformed
    // message) as false.
    bool connectTo(quint16 port);
    bool readGreeting(QByteArray *greeting);             // the 7 bytes
    bool readAnnouncement();                             // the 260-byte key announcement
    bool sendSessionKey(const QByteArray &key16 = QByteArray());
    bool sendIdentification(const QByteArray &name);
    bool readSessionId();
    bool registerUpdates(quint16 port);
    bool authenticate(const QByteArray &user, const QByteArray &password, quint32 *result = nullptr);
    // All of it: greeting, key, "Ornel Admin 5.0 (Linux)", id, registration, login.
    bool handshake(quint16 port, const QByteArray &user = "admin",
                   const QByteArray &password = "admin");

    bool writePlainBytes(const QByteArray &bytes) { return writePlain(bytes); }
    // Bytes as they arrive, before and after the stream starts.
    bool readPlainBytes(QByteArray *bytes, int length, int timeoutMs = 5000);
    bool readDecipheredBytes(QByteArray *bytes, int length, int timeoutMs = 5000);

    bool sendStatement(const QByteArray &text);
    bool readAnswer(Answer *answer, int timeoutMs = 5000);
    bool query(const QString &text, Answer *answer);

    // Waits for the server to close the connection; false when it sends
    // anything or stays open for timeoutMs.
    bool closedByPeer(int timeoutMs = 5000);
    // True when nothing arrives within timeoutMs and the connection stays open.
    bool quietFor(int timeoutMs);
    QByteArray receiveDatagram(int timeoutMs = 2000);

    quint32 sessionId() const { return m_sessionId; }
    int keyBits() const { return m_keyBits; }
    const QByteArray &modulus() const { return m_modulus; }
    const QByteArray &exponent() const { return m_exponent; }
    void close();

    static quint32 readU32(const QByteArray &bytes, int offset);

private:
    bool readPlain(char *buffer, int length, int timeoutMs = 5000);
    bool writePlain(const QByteArray &bytes);
    bool readEnciphered(QByteArray *bytes, int length, int timeoutMs = 5000);
    bool writeEnciphered(const QByteArray &bytes);
    static bool parseBlock(Answer *answer);

    int m_tcp = -1;
    int m_udp = -1;
    quint32 m_sessionId = 0;
    int m_keyBits = 0;
    QByteArray m_modulus;
    QByteArray m_exponent;
    std::unique_ptr<RefStream> m_stream;
};
