#include "refstream.h"
#include "streamcipher_p.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace StandIn;

namespace {

const QByteArray Key = QByteArray::fromHex("00112233445566778899aabbccddeeff");

QByteArray pattern(int length)
{
    QByteArray bytes(length, '\0');
    for (int i = 0; i < length; ++i)
        bytes[i] = char(i * 7 + 3);
    return bytes;
}

// Enciphers the data through the server's outgoing state in the given pieces.
QByteArray encipherInPieces(const QByteArray &plain, const QList<int> &pieces)
{
    unsigned char key[16];
    std::memcpy(key, Key.constData(), 16);
    StreamCipher cipher(key);
    QByteArray data = plain;
    int at = 0;
    for (int piece : pieces) {
        cipher.encipherOutgoing(reinterpret_cast<unsigned char *>(data.data()) + at, std::size_t(piece));
        at += piece;
    }
    cipher.encipherOutgoing(reinterpret_cast<unsigned char *>(data.data()) + at, std::size_t(data.size() - at));
    return data;
}

} // namespace

class tst_StreamCipher : public QObject
{
    Q_OBJECT

private slots:
    void matchesReference_data();
    void matchesReference();
    void firstCycle();
    void ninthByteOfLaterCycles();
    void incomingUndoesOutgoing();
    void directionsAreIndependent();
};

void tst_StreamCipher::matchesReference_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<QList<int>>("pieces");

    QTest::newRow("1 byte") << 1 << QList<int>{};
    QTest::newRow("9 bytes") << 9 << QList<int>{};
    QTest::newRow("10 bytes") << 10 << QList<int>{};
    QTest::newRow("1500 bytes at once") << 1500 << QList<int>{};
    QTest::newRow("1500 bytes in pieces 1, 9, 10, 3, 500") << 1500 << QList<int>{1, 9, 10, 3, 500};
    QTest::newRow("1500 bytes a byte at a time for a cycle") << 1500 << QList<int>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    QTest::newRow("empty pieces change nothing") << 40 << QList<int>{0, 0, 8, 0, 1, 0};
}

void tst_StreamCipher::matchesReference()
{
    QFETCH(int, length);
    QFETCH(QList<int>, pieces);
    const QByteArray plain = pattern(length);
    RefStream reference(Key);
    QCOMPARE(encipherInPieces(plain, pieces).toHex(), reference.encrypt(plain).toHex());
}

void tst_StreamCipher::firstCycle()
{
    // Bytes 0-7: Blowfish of the vector's first eight bytes; byte 8: the
    // vector's ninth byte itself. Computed here from the definition alone.
    BF_KEY schedule;
    BF_set_key(&schedule, 16, reinterpret_cast<const unsigned char *>(Key.constData()));
    const QByteArray vector = RefStream::startVector();
    unsigned char block[8];
    BF_ecb_encrypt(reinterpret_cast<const unsigned char *>(vector.constData()), block, &schedule, BF_ENCRYPT);

    const QByteArray zeros(9, '\0');
    QByteArray expected(reinterpret_cast<const char *>(block), 8);
    expected.append(vector.at(8));
    QCOMPARE(encipherInPieces(zeros, {}).toHex(), expected.toHex());
    QCOMPARE(quint8(encipherInPieces(QByteArray(9, '\x5a'), {}).at(8)), quint8(0x5a ^ 0x9e));
}

void tst_StreamCipher::ninthByteOfLaterCycles()
{
    const QByteArray plain = pattern(45);
    const QByteArray cipher = encipherInPieces(plain, {});
    for (int cycle = 1; cycle < 5; ++cycle) {
        const int ninth = cycle * 9 + 8;
        QCOMPARE(quint8(cipher.at(ninth)), quint8(plain.at(ninth) ^ cipher.at(ninth - 9)));
    }
}

void tst_StreamCipher::incomingUndoesOutgoing()
{
    unsigned char key[16];
    std::memcpy(key, Key.constData(), 16);
    StreamCipher server(key);
    RefStream client(Key);
    for (int length : {1, 9, 10, 1500, 7}) {
        const QByteArray plain = pattern(length);
        QByteArray data = client.encrypt(plain);
        server.decipherIncoming(reinterpret_cast<unsigned char *>(data.data()), std::size_t(data.size()));
        QCOMPARE(data, plain);
    }
}

void tst_StreamCipher::directionsAreIndependent()
{
    unsigned char key[16];
    std::memcpy(key, Key.constData(), 16);
    StreamCipher server(key);
    RefStream client(Key);
    // Traffic one way must not move the other way's state.
    QByteArray sent = pattern(100);
    server.encipherOutgoing(reinterpret_cast<unsigned char *>(sent.data()), std::size_t(sent.size()));
    const QByteArray plain = pattern(30);
    QByteArray received = client.encrypt(plain);
    server.decipherIncoming(reinterpret_cast<unsigned char *>(received.data()), std::size_t(received.size()));
    QCOMPARE(received, plain);
    QCOMPARE(client.decrypt(sent), pattern(100));
}

QTEST_APPLESS_MAIN(tst_StreamCipher)
#include "tst_streamcipher.moc"
