#include "md5.h"
#include "opensslref.h"

#include <QTest>

#include <cstring>

namespace {

const uint8_t *bytes(const QByteArray &a)
{
    return reinterpret_cast<const uint8_t *>(a.constData());
}

QByteArray digestBytes(const uint8_t digest[16])
{
    return QByteArray(reinterpret_cast<const char *>(digest), 16);
}

} // namespace

class TestMd5 : public QObject
{
    Q_OBJECT

private slots:
    void rfcSuite_data();
    void rfcSuite();
    void equalsOpenSSLAcrossBlockBoundaries_data();
    void equalsOpenSSLAcrossBlockBoundaries();
    void finalClearsContext();
    void md2strWritesLowercaseHexAndNul();
};

void TestMd5::rfcSuite_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QByteArray>("digest");
    QTest::newRow("empty") << QByteArray("") << QByteArray("d41d8cd98f00b204e9800998ecf8427e");
    QTest::newRow("a") << QByteArray("a") << QByteArray("0cc175b9c0f1b6a831c399e269772661");
    QTest::newRow("abc") << QByteArray("abc") << QByteArray("900150983cd24fb0d6963f7d28e17f72");
    QTest::newRow("message digest") << QByteArray("message digest")
                                    << QByteArray("f96b697d7cb7938d525a2f31aaf161d0");
    QTest::newRow("alphabet") << QByteArray("abcdefghijklmnopqrstuvwxyz")
                              << QByteArray("c3fcd3d76192e4007dfb496cca67e13b");
    QTest::newRow("alphanumeric")
        << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789")
        << QByteArray("d174ab98d277d9f5a5611c2c9f419d9f");
    QTest::newRow("eight times 1234567890")
        << QByteArray("1234567890").repeated(8) << QByteArray("57edf4a22be3c955ac49da2e2107b67a");
}

void TestMd5::rfcSuite()
{
    QFETCH(QByteArray, message);
    QFETCH(QByteArray, digest);

    char text[33];
    std::memset(text, 'x', sizeof text);
    QCOMPARE(QByteArray(MDString(message.constData(), text)), digest);
    QCOMPARE(QByteArray(MDnString(bytes(message), unsigned(message.size()), text)), digest);

    uint8_t bin[16];
    MD5Bin(message.constData(), bin);
    QCOMPARE(digestBytes(bin).toHex(), digest);
    MD5Data(bytes(message), unsigned(message.size()), bin);
    QCOMPARE(digestBytes(bin).toHex(), digest);

    // Fed one byte at a time, the digest is the same.
    MD5_CTX ctx;
    MD5Init(&ctx);
    for (char c : message)
        MD5Update(&ctx, reinterpret_cast<const uint8_t *>(&c), 1);
    MD5Final(bin, &ctx);
    QCOMPARE(digestBytes(bin).toHex(), digest);
}

void TestMd5::equalsOpenSSLAcrossBlockBoundaries_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("chunk");
    for (int len : {1, 55, 56, 57, 63, 64, 65, 119, 120, 127, 128, 129, 1000, 4103})
        for (int chunk : {1, 13, 64, 100000})
            QTest::addRow("%d bytes in chunks of %d", len, chunk) << len << chunk;
}

void TestMd5::equalsOpenSSLAcrossBlockBoundaries()
{
    QFETCH(int, length);
    QFETCH(int, chunk);
    std::mt19937 rng{uint32_t(length)};
    const QByteArray data = opensslref::randomBytes(rng, length);

    MD5_CTX ctx;
    MD5Init(&ctx);
    for (int at = 0; at < length; at += chunk)
        MD5Update(&ctx, bytes(data) + at, unsigned(qMin(chunk, length - at)));
    uint8_t digest[16];
    MD5Final(digest, &ctx);
    QCOMPARE(digestBytes(digest).toHex(), opensslref::md5(data).toHex());
}

void TestMd5::finalClearsContext()
{
    MD5_CTX ctx;
    MD5Init(&ctx);
    MD5Update(&ctx, reinterpret_cast<const uint8_t *>("secret"), 6);
    uint8_t digest[16];
    MD5Final(digest, &ctx);

    MD5_CTX zero;
    std::memset(&zero, 0, sizeof zero);
    QVERIFY(std::memcmp(&ctx, &zero, sizeof ctx) == 0);
}

void TestMd5::md2strWritesLowercaseHexAndNul()
{
    const uint8_t digest[16] = {0x00, 0x01, 0x0a, 0x7f, 0x80, 0xab, 0xcd, 0xef,
                                0xff, 0x10, 0x20, 0x30, 0x40, 0x50, 0x9e, 0xf0};
    char text[34];
    std::memset(text, 'x', sizeof text);
    md2str(digest, text);
    QCOMPARE(QByteArray(text), QByteArray("00010a7f80abcdefff10203040509ef0"));
    QCOMPARE(text[32], '\0');
    QCOMPARE(text[33], 'x');
}

QTEST_APPLESS_MAIN(TestMd5)
#include "tst_md5.moc"
