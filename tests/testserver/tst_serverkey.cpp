#include "refclient.h"
#include "serverkey_p.h"
#include "testserver.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

#include <QTemporaryDir>
#include <QtTest>

using namespace StandIn;

namespace {

// Writes a private key made by OpenSSL to a PEM file.
bool writeKey(EVP_PKEY *key, const QString &path)
{
    FILE *file = std::fopen(path.toLocal8Bit().constData(), "w");
    if (!file)
        return false;
    const bool written = PEM_write_PrivateKey(file, key, nullptr, nullptr, 0, nullptr, nullptr) == 1;
    std::fclose(file);
    EVP_PKEY_free(key);
    return written;
}

// The client's half of the key transport, by OpenSSL alone.
QByteArray encryptForAnnouncement(const QByteArray &announcement, const QByteArray &plain)
{
    RSA *rsa = RSA_new();
    RSA_set0_key(rsa, BN_bin2bn(reinterpret_cast<const unsigned char *>(announcement.constData()) + 4, 128, nullptr),
                 BN_bin2bn(reinterpret_cast<const unsigned char *>(announcement.constData()) + 132, 128, nullptr),
                 nullptr);
    QByteArray block(RSA_size(rsa), '\0');
    const int length = RSA_public_encrypt(int(plain.size()), reinterpret_cast<const unsigned char *>(plain.constData()),
                                          reinterpret_cast<unsigned char *>(block.data()), rsa, RSA_PKCS1_PADDING);
    RSA_free(rsa);
    return length == block.size() ? block : QByteArray();
}

} // namespace

class tst_ServerKey : public QObject
{
    Q_OBJECT

private slots:
    void announcement();
    void sessionKeyBlocks_data();
    void sessionKeyBlocks();
    void keyFiles_data();
    void keyFiles();
    void serverUsesTheKeyFile();
};

void tst_ServerKey::announcement()
{
    QString error;
    const auto key = ServerKey::generate(1024, &error);
    QVERIFY2(key, qPrintable(error));
    const QByteArray announcement = key->announcement();
    QCOMPARE(announcement.size(), 260);
    QCOMPARE(announcement.left(4).toHex(), QByteArray("00000400"));
    QVERIFY(quint8(announcement.at(4)) & 0x80);
    QCOMPARE(announcement.mid(132).toHex(), (QByteArray(125, '\0') + QByteArray::fromHex("010001")).toHex());
    QCOMPARE(key->modulusLength(), 128);
    QVERIFY(ServerKey::sharedDefault(&error) == ServerKey::sharedDefault(&error)); // made once per process
}

void tst_ServerKey::sessionKeyBlocks_data()
{
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("16 bytes") << QByteArray::fromHex("000102030405060708090a0b0c0d0eff") << true;
    QTest::newRow("16 zero bytes") << QByteArray(16, '\0') << true;
    QTest::newRow("15 bytes") << QByteArray(15, 'k') << false;
    QTest::newRow("17 bytes") << QByteArray(17, 'k') << false;
    QTest::newRow("nothing") << QByteArray() << false;
}

void tst_ServerKey::sessionKeyBlocks()
{
    QFETCH(QByteArray, plain);
    QFETCH(bool, accepted);
    QString error;
    const auto key = ServerKey::sharedDefault(&error);
    QVERIFY2(key, qPrintable(error));
    const QByteArray block = encryptForAnnouncement(key->announcement(), plain);
    QCOMPARE(block.size(), 128);
    unsigned char sessionKey[16] = {};
    QCOMPARE(key->decryptSessionKey(block, sessionKey), accepted);
    if (accepted)
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(sessionKey), 16), plain);
    // a block of the wrong size, or noise, is refused
    QVERIFY(!key->decryptSessionKey(block.left(127), sessionKey));
    QVERIFY(!key->decryptSessionKey(QByteArray(128, '\x42'), sessionKey));
}

void tst_ServerKey::keyFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("bits");
    QTest::addColumn<QString>("error");

    QTest::newRow("512-bit RSA") << "rsa" << 512 << "";
    QTest::newRow("1024-bit RSA") << "rsa" << 1024 << "";
    QTest::newRow("2048-bit RSA does not fit") << "rsa" << 2048 << "2048 bits";
    QTest::newRow("not RSA") << "ec" << 0 << "not an RSA key";
    QTest::newRow("no file") << "none" << 0 << "cannot open";
    QTest::newRow("not PEM") << "text" << 0 << "no PEM private key";
}

void tst_ServerKey::keyFiles()
{
    QFETCH(QString, kind);
    QFETCH(int, bits);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString path = dir.filePath("key.pem");
    if (kind == "rsa")
        QVERIFY(writeKey(EVP_RSA_gen(unsigned(bits)), path));
    if (kind == "ec")
        QVERIFY(writeKey(EVP_EC_gen("P-256"), path));
    if (kind == "text") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a key\n");
    }

    QString reason;
    const auto key = ServerKey::fromPemFile(path, &reason);
    QCOMPARE(key != nullptr, error.isEmpty());
    if (!key) {
        QVERIFY2(reason.contains(error), qPrintable(reason));
        return;
    }
    QCOMPARE(key->bits(), bits);
    const QByteArray announcement = key->announcement();
    QCOMPARE(RefClient::readU32(announcement, 0), quint32(bits));
    // a shorter modulus stands at the end of its field, after zero bytes
    QCOMPARE(announcement.mid(4, 128 - bits / 8), QByteArray(128 - bits / 8, '\0'));
    QVERIFY(quint8(announcement.at(4 + 128 - bits / 8)) & 0x80);
}

void tst_ServerKey::serverUsesTheKeyFile()
{
    QTemporaryDir dir;
    ServerOptions options;
    options.port = 0;
    options.keyFile = dir.filePath("key.pem");
    QVERIFY(writeKey(EVP_RSA_gen(512), options.keyFile));
    TestServer server(options);
    QString error;
    QVERIFY2(server.start(&error), qPrintable(error));
    RefClient client;
    QVERIFY(client.handshake(server.port()));
    QCOMPARE(client.keyBits(), 512);
    RefClient::Answer answer;
    QVERIFY(client.query("select Version from info", &answer));
    QCOMPARE(answer.texts(), (QList<QStringList>{{"5.0"}}));

    ServerOptions tooBig = options;
    QVERIFY(writeKey(EVP_RSA_gen(2048), tooBig.keyFile));
    TestServer refused(tooBig);
    QVERIFY(!refused.start(&error));
    QVERIFY(error.contains("2048"));
}

QTEST_GUILESS_MAIN(tst_ServerKey)
#include "tst_serverkey.moc"
