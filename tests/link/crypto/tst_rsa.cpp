#include "rsa.h"
#include "opensslref.h"

#include <QHash>
#include <QTest>

#include <openssl/err.h>
#include <openssl/rsa.h>

#include <cstdio>
#include <cstring>
#include <memory>

using opensslref::Bn;
using opensslref::newBn;
using opensslref::u8;

namespace {

struct RsaFree { void operator()(RSA *rsa) const { RSA_free(rsa); } };
struct FileClose { void operator()(FILE *f) const { std::fclose(f); } };
using File = std::unique_ptr<FILE, FileClose>;

// A key in both libraries' forms, made from OpenSSL's primes rather than
// RSA_generate_key_ex so that sizes below OpenSSL's minimum (209 bits) and a chosen
// order of the primes are possible.
struct TestKey
{
    R_RSA_PUBLIC_KEY pub;
    R_RSA_PRIVATE_KEY priv;
    std::unique_ptr<RSA, RsaFree> rsa;
    int k = 0;
};

void put(uint8_t *field, const BIGNUM *bn, int len)
{
    std::memcpy(field, opensslref::bytesFromBn(bn, len).constData(), size_t(len));
}

std::shared_ptr<TestKey> makeKey(int bits, bool qAboveP)
{
    opensslref::BnCtx ctx(BN_CTX_new());
    auto key = std::make_shared<TestKey>();
    for (;;) {
        Bn p = newBn(), q = newBn(), n = newBn(), e = newBn(), d = newBn();
        Bn p1 = newBn(), q1 = newBn(), phi = newBn(), dmp1 = newBn(), dmq1 = newBn();
        // With q above p, far above: mQ then often exceeds p, which the recombination must reduce first.
        const int qBits = qAboveP ? qMin(bits / 2 + 32, 512) : bits / 2;
        BN_generate_prime_ex(p.get(), bits - qBits, 0, nullptr, nullptr, nullptr);
        BN_generate_prime_ex(q.get(), qBits, 0, nullptr, nullptr, nullptr);
        if ((BN_cmp(q.get(), p.get()) > 0) != qAboveP)
            std::swap(p, q);
        BN_mul(n.get(), p.get(), q.get(), ctx.get());
        BN_set_word(e.get(), 65537);
        BN_sub(p1.get(), p.get(), BN_value_one());
        BN_sub(q1.get(), q.get(), BN_value_one());
        BN_mul(phi.get(), p1.get(), q1.get(), ctx.get());
        if (BN_num_bits(n.get()) != bits || BN_cmp(p.get(), q.get()) == 0
            || !BN_mod_inverse(d.get(), e.get(), phi.get(), ctx.get())) {
            ERR_clear_error();
            continue;
        }
        BN_mod(dmp1.get(), d.get(), p1.get(), ctx.get());
        BN_mod(dmq1.get(), d.get(), q1.get(), ctx.get());
        Bn iqmp(BN_mod_inverse(nullptr, q.get(), p.get(), ctx.get()));
        key->k = (bits + 7) / 8;
        key->pub.bits = key->priv.bits = uint32_t(bits);
        put(key->pub.modulus, n.get(), 128);
        put(key->pub.exponent, e.get(), 128);
        put(key->priv.modulus, n.get(), 128);
        put(key->priv.publicExponent, e.get(), 128);
        put(key->priv.exponent, d.get(), 128);
        put(key->priv.prime[0], p.get(), 64);
        put(key->priv.prime[1], q.get(), 64);
        put(key->priv.primeExponent[0], dmp1.get(), 64);
        put(key->priv.primeExponent[1], dmq1.get(), 64);
        put(key->priv.coefficient, iqmp.get(), 64);
        key->rsa.reset(RSA_new());
        RSA_set0_key(key->rsa.get(), n.release(), e.release(), d.release());
        RSA_set0_factors(key->rsa.get(), p.release(), q.release());
        RSA_set0_crt_params(key->rsa.get(), dmp1.release(), dmq1.release(), iqmp.release());
        return key;
    }
}

// Keys are slow to make: each kind once per run.
std::shared_ptr<TestKey> key(int bits, bool qAboveP = false)
{
    static QHash<int, std::shared_ptr<TestKey>> keys;
    const int id = bits * 2 + (qAboveP ? 1 : 0);
    if (!keys.contains(id))
        keys.insert(id, makeKey(bits, qAboveP));
    return keys.value(id);
}

// OpenSSL's raw key operations, the padding left to the caller.
QByteArray opensslRaw(const TestKey &key, const QByteArray &in, bool privateKey)
{
    QByteArray out(RSA_size(key.rsa.get()), '\0');
    const int n = privateKey
        ? RSA_private_decrypt(int(in.size()), u8(in), u8(out), key.rsa.get(), RSA_NO_PADDING)
        : RSA_public_encrypt(int(in.size()), u8(in), u8(out), key.rsa.get(), RSA_NO_PADDING);
    return n < 0 ? QByteArray() : out.left(n);
}

R_RANDOM_STRUCT seededStruct(uint32_t seed)
{
    std::mt19937 rng(seed);
    R_RANDOM_STRUCT r;
    R_RandomInit(&r);
    R_RandomUpdate(&r, u8(opensslref::randomBytes(rng, 256)), 256);
    return r;
}

QByteArray raw(const uint8_t *p, int len) { return QByteArray(reinterpret_cast<const char *>(p), len); }

template<typename T>
QByteArray bytesOf(const T &value) { return QByteArray(reinterpret_cast<const char *>(&value), sizeof value); }

} // namespace

class TestRsa : public QObject
{
    Q_OBJECT

private slots:
    // RSAPublicEncrypt of 16 bytes, opened with OpenSSL's private key.
    void publicEncryptOpensWithOpenSSL_data()
    {
        QTest::addColumn<int>("bits");
        QTest::newRow("1024 bits") << 1024;
        QTest::newRow("512 bits") << 512;
        QTest::newRow("209 bits, the smallest for 16 bytes") << 209;
    }

    void publicEncryptOpensWithOpenSSL()
    {
        QFETCH(int, bits);
        const auto k = key(bits);
        std::mt19937 rng{uint32_t(bits)};
        for (int round = 0; round < 5; ++round) {
            const QByteArray sessionKey = opensslref::randomBytes(rng, 16);
            R_RANDOM_STRUCT random = seededStruct(uint32_t(bits + round));
            R_RANDOM_STRUCT copy = random;
            QByteArray out(128, '\0');
            unsigned outLen = 0;
            QCOMPARE(RSAPublicEncrypt(u8(out), &outLen, u8(sessionKey), 16, &k->pub, &random), 0);
            QCOMPARE(int(outLen), k->k);
            // 00 02, the generator's bytes with its zeros skipped, 00, the 16 bytes.
            QByteArray padding;
            for (uint8_t byte = 0; padding.size() < k->k - 19;) {
                QCOMPARE(R_GenerateBytes(&byte, 1, &copy), 0);
                if (byte != 0)
                    padding.append(char(byte));
            }
            QVERIFY(std::memcmp(&random, &copy, sizeof random) == 0);
            const QByteArray expected = QByteArray::fromHex("0002") + padding + '\0' + sessionKey;
            QCOMPARE(opensslRaw(*k, out.left(int(outLen)), true).toHex(), expected.toHex());
        }
    }

    void publicEncryptRefuses_data()
    {
        QTest::addColumn<int>("keyBits");       // a real key of this size, or 0 for the row's modulus
        QTest::addColumn<uint32_t>("bits");     // announced bits, 0 to keep the key's
        QTest::addColumn<QByteArray>("modulus");
        QTest::addColumn<int>("seedBytes");
        QTest::addColumn<int>("result");
        QTest::newRow("208 bits") << 208 << 0u << QByteArray() << 256 << RE_LEN;
        QTest::newRow("1025 bits announced") << 1024 << 1025u << QByteArray() << 256 << RE_LEN;
        QTest::newRow("modulus wider than the bits") << 1024 << 512u << QByteArray() << 256 << RE_LEN;
        QTest::newRow("modulus 00 02 00.. not above the block")
            << 0 << 1024u << (QByteArray::fromHex("0002") + QByteArray(126, '\0')) << 256 << RE_DATA;
        QTest::newRow("unseeded generator") << 1024 << 0u << QByteArray() << 0 << RE_NEED_RANDOM;
    }

    void publicEncryptRefuses()
    {
        QFETCH(int, keyBits);
        QFETCH(uint32_t, bits);
        QFETCH(QByteArray, modulus);
        QFETCH(int, seedBytes);
        QFETCH(int, result);
        R_RSA_PUBLIC_KEY pub = {};
        if (keyBits) {
            pub = key(keyBits)->pub;
        } else {
            std::memcpy(pub.modulus + 128 - modulus.size(), modulus.constData(), size_t(modulus.size()));
            pub.exponent[127] = 3;
        }
        if (bits)
            pub.bits = bits;
        R_RANDOM_STRUCT random;
        R_RandomInit(&random);
        R_RandomUpdate(&random, u8(QByteArray(seedBytes, 's')), unsigned(seedBytes));
        const R_RANDOM_STRUCT randomBefore = random;
        const QByteArray input(16, '\0');
        QByteArray out(128, char(0x5a));
        unsigned outLen = 12345;
        // A 1032 must come back at once rather than spin on the draws.
        QCOMPARE(RSAPublicEncrypt(u8(out), &outLen, u8(input), 16, &pub, &random), result);
        QCOMPARE(out, QByteArray(128, char(0x5a)));
        QCOMPARE(outLen, 12345u);
        if (result == RE_LEN)  // refused before any padding was drawn
            QVERIFY(std::memcmp(&random, &randomBefore, sizeof random) == 0);
    }

    void privateOperationsEqualOpenSSL_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<bool>("qAboveP");
        QTest::addColumn<int>("dataLen");
        QTest::newRow("1024 bits, q above p, 20 bytes") << 1024 << true << 20;
        QTest::newRow("1024 bits, largest data") << 1024 << false << 117;
        QTest::newRow("512 bits, no data") << 512 << false << 0;
    }

    void privateOperationsEqualOpenSSL()
    {
        QFETCH(int, bits);
        QFETCH(bool, qAboveP);
        QFETCH(int, dataLen);
        const auto k = key(bits, qAboveP);
        std::mt19937 rng{uint32_t(bits + dataLen)};
        const QByteArray data = opensslref::randomBytes(rng, dataLen);
        QByteArray ours(128, '\0'), theirs(RSA_size(k->rsa.get()), '\0'), back(128, '\0');
        unsigned oursLen = 0, backLen = 0;
        // Block type 1 has no random part, so both libraries must give the same bytes.
        QCOMPARE(RSAPrivateEncrypt(u8(ours), &oursLen, u8(data), unsigned(dataLen), &k->priv), 0);
        const int theirsLen = RSA_private_encrypt(dataLen, u8(data), u8(theirs), k->rsa.get(), RSA_PKCS1_PADDING);
        QCOMPARE(ours.left(int(oursLen)).toHex(), theirs.left(theirsLen).toHex());
        QCOMPARE(RSAPublicDecrypt(u8(back), &backLen, u8(theirs), unsigned(theirsLen), &k->pub), 0);
        QCOMPARE(back.left(int(backLen)).toHex(), data.toHex());
        // Type 2 from OpenSSL opens with our private key.
        const int sealedLen = RSA_public_encrypt(dataLen, u8(data), u8(theirs), k->rsa.get(), RSA_PKCS1_PADDING);
        QCOMPARE(RSAPrivateDecrypt(u8(back), &backLen, u8(theirs), unsigned(sealedLen), &k->priv), 0);
        QCOMPARE(back.left(int(backLen)).toHex(), data.toHex());
    }

    void malformedBlocks_data()
    {
        QTest::addColumn<bool>("signature");   // type 1 through the public key, else type 2
        QTest::addColumn<QByteArray>("head");  // the block's start; the rest is data bytes 'd'
        QTest::addColumn<int>("result");
        const QByteArray ff8(8, char(0xff)), nz8("\x11\x22\x33\x44\x55\x66\x77\x88", 8);
        const QByteArray type1 = QByteArray::fromHex("0001"), type2 = QByteArray::fromHex("0002");
        QTest::newRow("type 1, 8 bytes of ff") << true << (type1 + ff8 + '\0') << 0;
        QTest::newRow("type 1, 7 bytes of ff") << true << (type1 + ff8.left(7) + '\0') << RE_DATA;
        QTest::newRow("type 2, 7 non-zero bytes") << false << (type2 + nz8.left(7) + '\0') << RE_DATA;
        QTest::newRow("type 2 expected, type 1 found") << false << (type1 + ff8 + '\0') << RE_DATA;
        QTest::newRow("type 2, no separator") << false << type2 << RE_DATA;
    }

    void malformedBlocks()
    {
        QFETCH(bool, signature);
        QFETCH(QByteArray, head);
        QFETCH(int, result);
        const auto k = key(512);
        // The data part: 'd' bytes, or the padding's own kind where there is no separator.
        const char fill = head.size() == 2 && signature ? char(0xff) : 'd';
        const QByteArray block = head + QByteArray(k->k - head.size(), fill);
        QByteArray out(128, char(0x5a));
        unsigned outLen = 777;
        const QByteArray sealed = opensslRaw(*k, block, signature);
        const int status = signature
            ? RSAPublicDecrypt(u8(out), &outLen, u8(sealed), unsigned(sealed.size()), &k->pub)
            : RSAPrivateDecrypt(u8(out), &outLen, u8(sealed), unsigned(sealed.size()), &k->priv);
        QCOMPARE(status, result);
        if (result == 0) {
            QCOMPARE(out.left(int(outLen)), QByteArray(k->k - head.size(), 'd'));
        } else {
            QCOMPARE(outLen, 777u);
            QCOMPARE(out, QByteArray(128, char(0x5a)));
        }
    }

    void decryptLengthAndRangeChecks()
    {
        const auto k = key(512);
        QByteArray out(128, '\0');
        unsigned outLen = 0;
        const QByteArray tooLong(k->k + 1, '\1');
        QCOMPARE(RSAPublicDecrypt(u8(out), &outLen, u8(tooLong), unsigned(tooLong.size()), &k->pub), RE_LEN);
        QCOMPARE(RSAPrivateDecrypt(u8(out), &outLen, u8(tooLong), unsigned(tooLong.size()), &k->priv), RE_LEN);
        // The modulus itself is not below the modulus.
        const QByteArray modulus = raw(k->pub.modulus + 128 - k->k, k->k);
        QCOMPARE(RSAPublicDecrypt(u8(out), &outLen, u8(modulus), unsigned(k->k), &k->pub), RE_DATA);
        QCOMPARE(RSAPrivateDecrypt(u8(out), &outLen, u8(modulus), unsigned(k->k), &k->priv), RE_DATA);
        // Keys wider than 1024 bits are refused by the private-key side too.
        R_RSA_PRIVATE_KEY wide = k->priv;
        wide.bits = 1025;
        QCOMPARE(RSAPrivateEncrypt(u8(out), &outLen, u8(modulus), 16, &wide), RE_LEN);
        QCOMPARE(RSAPrivateDecrypt(u8(out), &outLen, u8(modulus), 16, &wide), RE_LEN);
        const uint8_t low[2] = {0x10, 0x7f}, high[2] = {0x10, 0x80};
        QCOMPARE(R_memcmp(low, high, 2), -1);  // the library's own compare reads bytes unsigned
    }

    // The exact image, read back whole; damaged images refused with both keys left alone.
    void keyFile()
    {
        const auto k = key(1024);
        // Version 1, then each key with its bit count big-endian and its fields as they are.
        const QByteArray bits = QByteArray::fromHex("00000400");
        const QByteArray image
            = QByteArray::fromHex("00000001") + bits + bytesOf(k->pub).mid(4) + bits + bytesOf(k->priv).mid(4);
        File written(std::tmpfile());
        QCOMPARE(RSAWriteKeys(written.get(), &k->pub, &k->priv), 1);
        QByteArray read(image.size() + 1, '\0');
        std::rewind(written.get());
        read.truncate(int(std::fread(read.data(), 1, size_t(read.size()), written.get())));
        QCOMPARE(read.toHex(), image.toHex());

        QByteArray version2 = image;
        version2[3] = 2;
        for (const QByteArray &bytes : {image, QByteArray(), image.left(image.size() - 1), version2}) {
            File f(std::tmpfile());
            std::fwrite(bytes.constData(), 1, size_t(bytes.size()), f.get());
            std::rewind(f.get());
            R_RSA_PUBLIC_KEY pub;
            R_RSA_PRIVATE_KEY priv;
            std::memset(&pub, 0x77, sizeof pub);
            std::memset(&priv, 0x77, sizeof priv);
            const bool good = bytes == image;
            QCOMPARE(RSAReadKeys(f.get(), &pub, &priv), good ? 1 : 0);
            QCOMPARE(bytesOf(pub), good ? bytesOf(k->pub) : QByteArray(sizeof pub, char(0x77)));
            QCOMPARE(bytesOf(priv), good ? bytesOf(k->priv) : QByteArray(sizeof priv, char(0x77)));
        }

        // A full device takes the buffered bytes and fails when they are flushed.
        File full(std::fopen("/dev/full", "wb")), readOnly(std::fopen("/dev/null", "rb"));
        QVERIFY(full && readOnly);
        QCOMPARE(RSAWriteKeys(full.get(), &k->pub, &k->priv), 0);
        QCOMPARE(RSAWriteKeys(readOnly.get(), &k->pub, &k->priv), 0);
    }
};

QTEST_APPLESS_MAIN(TestRsa)
#include "tst_rsa.moc"
