#include "md5.h"
#include "opensslref.h"

#include <QTest>

#include <cstring>

using opensslref::u8;

namespace {

QByteArray hexOf(const uint8_t digest[16]) { return QByteArray(reinterpret_cast<const char *>(digest), 16).toHex(); }

} // namespace

class TestMd5 : public QObject
{
    Q_OBJECT

private slots:
    void rfcSuite_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QByteArray>("digest");
        QTest::newRow("empty") << QByteArray("") << QByteArray("d41d8cd98f00b204e9800998ecf8427e");
        QTest::newRow("a") << QByteArray("a") << QByteArray("0cc175b9c0f1b6a831c399e269772661");
        QTest::newRow("abc") << QByteArray("abc") << QByteArray("900150983cd24fb0d6963f7d28e17f72");
        QTest::newRow("message digest") << QByteArray("message digest") << QByteArray("f96b697d7cb7938d525a2f31aaf161d0");
        QTest::newRow("alphabet") << QByteArray("abcdefghijklmnopqrstuvwxyz")
                                  << QByteArray("c3fcd3d76192e4007dfb496cca67e13b");
        QTest::newRow("alphanumeric")
            << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789")
            << QByteArray("d174ab98d277d9f5a5611c2c9f419d9f");
        QTest::newRow("eight times 1234567890")
            << QByteArray("1234567890").repeated(8) << QByteArray("57edf4a22be3c955ac49da2e2107b67a");
    }

    void rfcSuite()
    {
        QFETCH(QByteArray, message);
        QFETCH(QByteArray, digest);
        // The text forms write 32 lowercase digits and a NUL, nothing beyond.
        char text[34];
        std::memset(text, 'x', sizeof text);
        QCOMPARE(QByteArray(MDString(message.constData(), text)), digest);
        QCOMPARE(text[33], 'x');
        QCOMPARE(QByteArray(MDnString(u8(message), unsigned(message.size()), text)), digest);
        uint8_t bin[16];
        MD5Bin(message.constData(), bin);
        QCOMPARE(hexOf(bin), digest);
        MD5Data(u8(message), unsigned(message.size()), bin);
        QCOMPARE(hexOf(bin), digest);
    }

    void equalsOpenSSLAcrossBlockBoundaries_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("chunk");
        for (int len : {55, 56, 64, 65, 4103})
            for (int chunk : {1, 13, len})
                QTest::addRow("%d bytes in chunks of %d", len, chunk) << len << chunk;
    }

    void equalsOpenSSLAcrossBlockBoundaries()
    {
        QFETCH(int, length);
        QFETCH(int, chunk);
        std::mt19937 rng{uint32_t(length)};
        const QByteArray data = opensslref::randomBytes(rng, length);
        MD5_CTX ctx;
        MD5Init(&ctx);
        for (int at = 0; at < length; at += chunk)
            MD5Update(&ctx, u8(data) + at, unsigned(qMin(chunk, length - at)));
        uint8_t digest[16];
        MD5Final(digest, &ctx);
        QCOMPARE(hexOf(digest), opensslref::md5(data).toHex());
        const MD5_CTX zero = {};  // no trace of the message is left behind
        QVERIFY(std::memcmp(&ctx, &zero, sizeof ctx) == 0);
    }
};

QTEST_APPLESS_MAIN(TestMd5)
#include "tst_md5.moc"
