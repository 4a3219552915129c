#include "refstream.h"
#include "streamcipher_p.h"

#include <QtTest>

#include <cstring>
#include <numeric>

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

StreamCipher serverCipher()
{
    unsigned char key[16];
    std::memcpy(key, Key.constData(), 16);
    return StreamCipher(key);
}

void run(QByteArray &data, int at, int length, bool outgoing, StreamCipher &cipher)
{
    auto *bytes = reinterpret_cast<unsigned char *>(data.data()) + at;
    if (outgoing)
        cipher.encipherOutgoing(bytes, std::size_t(length));
    else
        cipher.decipherIncoming(bytes, std::size_t(length));
}

} // namespace

class tst_StreamCipher : public QObject
{
    Q_OBJECT

private slots:
    void matchesReference_data();
    void matchesReference();
};

void tst_StreamCipher::matchesReference_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<QList<int>>("pieces"); // what is left after them goes in one piece

    QTest::newRow("1 byte") << 1 << QList<int>{};
    QTest::newRow("10 bytes, past one cycle") << 10 << QList<int>{};
    QTest::newRow("1500 bytes in pieces across cycles") << 1500 << QList<int>{1, 9, 10, 3, 500};
    QTest::newRow("a byte at a time") << 20 << QList<int>(19, 1);
    QTest::newRow("empty pieces change nothing") << 40 << QList<int>{0, 0, 8, 0, 1, 0};
}

// The server's stream against the reference on OpenSSL's Blowfish, both directions
// through one cipher, piece by piece in turn: traffic one way must not move the other's state.
void tst_StreamCipher::matchesReference()
{
    QFETCH(int, length);
    QFETCH(QList<int>, pieces);
    const QByteArray plain = pattern(length);
    RefStream client(Key);
    StreamCipher server = serverCipher();
    QByteArray sent = plain;
    QByteArray received = client.encrypt(plain);
    int at = 0;
    for (int piece : pieces + QList<int>{length - std::accumulate(pieces.begin(), pieces.end(), 0)}) {
        run(sent, at, piece, true, server);
        run(received, at, piece, false, server);
        at += piece;
    }
    QCOMPARE(sent.toHex(), RefStream(Key).encrypt(plain).toHex());
    QCOMPARE(received, plain);
}

QTEST_APPLESS_MAIN(tst_StreamCipher)
#include "tst_streamcipher.moc"
