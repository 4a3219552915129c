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
using opensslref::bytesFromBn;
using opensslref::newBn;

namespace {

struct RsaFree
{
    void operator()(RSA *rsa) const { RSA_free(rsa); }
};

struct FileClose
{
    void operator()(FILE *f) const { std::fclose(f); }
};
using File = std::unique_ptr<FILE, FileClose>;

// A key made with OpenSSL's primes and arithmetic, in both libraries' forms. Built from
// primes rather than RSA_generate_key_ex so that sizes below OpenSSL's minimum (209 bits)
// and a chosen order of the primes are possible.
struct TestKey
{
    R_RSA_PUBLIC_KEY pub;
    R_RSA_PRIVATE_KEY priv;
    std::unique_ptr<RSA, RsaFree> rsa;
    int k = 0;
};

std::shared_ptr<TestKey> makeKey(int bits, bool qAboveP = false)
{
    opensslref::BnCtx ctx(BN_CTX_new());
    auto key = std::make_shared<TestKey>();
    for (;;) {
        Bn p = newBn(), q = newBn(), n = newBn(), e = newBn(), d = newBn();
        Bn p1 = newBn(), q1 = newBn(), phi = newBn(), dmp1 = newBn(), dmq1 = newBn();
        // With q above p, make it far above where the 64-byte prime fields allow: mQ
        // then often exceeds p, which is the case the recombination must reduce first.
        const int qBits = qAboveP ? qMin(bits / 2 + 32, 512) : bits / 2;
        BN_generate_prime_ex(p.get(), bits - qBits, 0, nullptr, nullptr, nullptr);
        BN_generate_prime_ex(q.get(), qBits, 0, nullptr, nullptr, nullptr);
        if ((BN_cmp(q.get(), p.get()) > 0) != qAboveP)
            std::swap(p, q);
        BN_mul(n.get(), p.get(), q.get(), ctx.get());
        if (BN_num_bits(n.get()) != bits || BN_cmp(p.get(), q.get()) == 0)
            continue;
        BN_set_word(e.get(), 65537);
        BN_sub(p1.get(), p.get(), BN_value_one());
        BN_sub(q1.get(), q.get(), BN_value_one());
        BN_mul(phi.get(), p1.get(), q1.get(), ctx.get());
        if (!BN_mod_inverse(d.get(), e.get(), phi.get(), ctx.get())) {
            ERR_clear_error();
            continue;
        }
        BN_mod(dmp1.get(), d.get(), p1.get(), ctx.get());
        BN_mod(dmq1.get(), d.get(), q1.get(), ctx.get());
        Bn iqmp(BN_mod_inverse(nullptr, q.get(), p.get(), ctx.get()));

        key->k = (bits + 7) / 8;
        key->pub.bits = uint32_t(bits);
        std::memcpy(key->pub.modulus, bytesFromBn(n.get(), 128).constData(), 128);
        std::memcpy(key->pub.exponent, bytesFromBn(e.get(), 128).constData(), 128);
        key->priv.bits = uint32_t(bits);
        std::memcpy(key->priv.modulus, key->pub.modulus, 128);
        std::memcpy(key->priv.publicExponent, key->pub.exponent, 128);
        std::memcpy(key->priv.exponent, bytesFromBn(d.get(), 128).constData(), 128);
        std::memcpy(key->priv.prime[0], bytesFromBn(p.get(), 64).constData(), 64);
        std::memcpy(key->priv.prime[1], bytesFromBn(q.get(), 64).constData(), 64);
        std::memcpy(key->priv.primeExponent[0], bytesFromBn(dmp1.get(), 64).constData(), 64);
        std::memcpy(key->priv.primeExponent[1], bytesFromBn(dmq1.get(), 64).constData(), 64);
        std::memcpy(key->priv.coefficient, bytesFromBn(iqmp.get(), 64).constData(), 64);

        key->rsa.reset(RSA_new());
        RSA_set0_key(key->rsa.get(), n.release(), e.release(), d.release());
        RSA_set0_factors(key->rsa.get(), p.release(), q.release());
        RSA_set0_crt_params(key->rsa.get(), dmp1.release(), dmq1.release(), iqmp.release());
        return key;
    }
}

// Keys are slow to make: each size once per run.
std::shared_ptr<TestKey> key(int bits, bool qAboveP = false)
{
    static QHash<int, std::shared_ptr<TestKey>> keys;
    const int id = bits * 2 + (qAboveP ? 1 : 0);
    if (!keys.contains(id))
        keys.insert(id, makeKey(bits, qAboveP));
    return keys.value(id);
}

const uint8_t *bytes(const QByteArray &a)
{
    return reinterpret_cast<const uint8_t *>(a.constData());
}

uint8_t *bytes(QByteArray &a)
{
    return reinterpret_cast<uint8_t *>(a.data());
}

// OpenSSL's raw private-key operation, the padding left to the caller.
QByteArray opensslRawPrivate(const TestKey &key, const QByteArray &in)
{
    QByteArray out(RSA_size(key.rsa.get()), '\0');
    const int n = RSA_private_decrypt(int(in.size()), bytes(in), bytes(out), key.rsa.get(), RSA_NO_PADDING);
    return n < 0 ? QByteArray() : out.left(n);
}

QByteArray opensslRawPublic(const TestKey &key, const QByteArray &block)
{
    QByteArray out(RSA_size(key.rsa.get()), '\0');
    const int n = RSA_public_encrypt(int(block.size()), bytes(block), bytes(out), key.rsa.get(), RSA_NO_PADDING);
    return n < 0 ? QByteArray() : out.left(n);
}

R_RANDOM_STRUCT seededStruct(uint32_t seed)
{
    std::mt19937 rng(seed);
    R_RANDOM_STRUCT r;
    R_RandomInit(&r);
    const QByteArray block = opensslref::randomBytes(rng, 256);
    R_RandomUpdate(&r, bytes(block), 256);
    return r;
}

// Key records with fields chosen by a test row.
R_RSA_PUBLIC_KEY publicKeyWith(uint32_t bits, const QByteArray &modulusTail)
{
    R_RSA_PUBLIC_KEY pub;
    std::memset(&pub, 0, sizeof pub);
    pub.bits = bits;
    std::memcpy(pub.modulus + 128 - modulusTail.size(), modulusTail.constData(), size_t(modulusTail.size()));
    pub.exponent[127] = 3;
    return pub;
}

QByteArray keyFileImage(FILE *f)
{
    std::fflush(f);
    std::rewind(f);
    QByteArray all;
    char buffer[256];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
        all.append(buffer, int(n));
    return all;
}

} // namespace

class TestRsa : public QObject
{
    Q_OBJECT

private slots:
    void publicEncryptOpensWithOpenSSL_data();
    void publicEncryptOpensWithOpenSSL();
    void paddingComesFromTheGenerator();
    void publicEncryptRefuses_data();
    void publicEncryptRefuses();

    void privateEncryptEqualsOpenSSL_data();
    void privateEncryptEqualsOpenSSL();
    void privateDecryptOpensOpenSSL_data();
    void privateDecryptOpensOpenSSL();
    void malformedBlocks_data();
    void malformedBlocks();
    void decryptLengthAndRangeChecks();

    void keyFileRoundTrip();
    void keyFileRefused_data();
    void keyFileRefused();
    void keyFileWriteFailure();

    void memoryHelpers();
};

void TestRsa::publicEncryptOpensWithOpenSSL_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<bool>("qAboveP");
    QTest::newRow("1024 bits") << 1024 << false;
    QTest::newRow("512 bits") << 512 << false;
    QTest::newRow("209 bits, the smallest for 16 bytes") << 209 << false;
    QTest::newRow("777 bits") << 777 << true;
}

void TestRsa::publicEncryptOpensWithOpenSSL()
{
    QFETCH(int, bits);
    QFETCH(bool, qAboveP);
    const auto k = key(bits, qAboveP);
    std::mt19937 rng{uint32_t(bits)};

    for (int round = 0; round < 10; ++round) {
        const QByteArray sessionKey = opensslref::randomBytes(rng, 16);
        R_RANDOM_STRUCT random;
        QCOMPARE(RSAFeedRandomStruct(&random), 0);
        QByteArray out(128, '\0');
        unsigned outLen = 0;
        QCOMPARE(RSAPublicEncrypt(bytes(out), &outLen, bytes(sessionKey), 16, &k->pub, &random), 0);
        QCOMPARE(int(outLen), k->k);

        const QByteArray block = opensslRawPrivate(*k, out.left(int(outLen)));
        QCOMPARE(block.size(), k->k);
        QCOMPARE(uint8_t(block[0]), uint8_t(0));
        QCOMPARE(uint8_t(block[1]), uint8_t(2));
        const int padding = k->k - 3 - 16;
        QVERIFY(!block.mid(2, padding).contains('\0'));
        QCOMPARE(uint8_t(block[2 + padding]), uint8_t(0));
        QCOMPARE(block.right(16).toHex(), sessionKey.toHex());
    }
    if (bits == 1024)
        QCOMPARE(k->k - 3 - 16, 109);
}

void TestRsa::paddingComesFromTheGenerator()
{
    const auto k = key(512);
    R_RANDOM_STRUCT random = seededStruct(17);
    R_RANDOM_STRUCT copy = random;
    const QByteArray input = QByteArray::fromHex("000102030405060708090a0b0c0d0e0f");

    QByteArray out(128, '\0');
    unsigned outLen = 0;
    QCOMPARE(RSAPublicEncrypt(bytes(out), &outLen, bytes(input), 16, &k->pub, &random), 0);
    const QByteArray block = opensslRawPrivate(*k, out.left(int(outLen)));

    // The padding is the generator's sequence, one byte per draw, its zeros skipped.
    QByteArray expected;
    while (expected.size() < k->k - 19) {
        uint8_t byte;
        QCOMPARE(R_GenerateBytes(&byte, 1, &copy), 0);
        if (byte != 0)
            expected.append(char(byte));
    }
    QCOMPARE(block.mid(2, k->k - 19).toHex(), expected.toHex());
    QVERIFY(std::memcmp(&random, &copy, sizeof random) == 0);
}

void TestRsa::publicEncryptRefuses_data()
{
    QTest::addColumn<int>("keyBits");       // a real key of this size, or 0 for the row's modulus
    QTest::addColumn<uint32_t>("bits");     // announced bits, 0 to keep the key's
    QTest::addColumn<QByteArray>("modulus");
    QTest::addColumn<int>("inputLen");
    QTest::addColumn<int>("seedBytes");
    QTest::addColumn<int>("result");

    QTest::newRow("208 bits") << 208 << 0u << QByteArray() << 16 << 256 << RE_LEN;
    QTest::newRow("1024 bits, 118 bytes") << 1024 << 0u << QByteArray() << 118 << 256 << RE_LEN;
    QTest::newRow("more than 1024 bits announced") << 1024 << 1025u << QByteArray() << 16 << 256 << RE_LEN;
    QTest::newRow("2048 bits announced") << 1024 << 2048u << QByteArray() << 16 << 256 << RE_LEN;
    QTest::newRow("largest bits field") << 1024 << 0xffffffffu << QByteArray() << 16 << 256 << RE_LEN;
    QTest::newRow("zero bits") << 0 << 0u << QByteArray::fromHex("ff") << 0 << 256 << RE_LEN;
    QTest::newRow("modulus wider than the bits") << 1024 << 512u << QByteArray() << 16 << 256 << RE_LEN;
    QTest::newRow("modulus 00 02 00.. not above the block")
        << 0 << 1024u << (QByteArray::fromHex("0002") + QByteArray(126, '\0')) << 16 << 256 << RE_DATA;
    QTest::newRow("modulus 00 01 ff.. below the block")
        << 0 << 1024u << (QByteArray::fromHex("0001") + QByteArray(126, char(0xff))) << 16 << 256 << RE_DATA;
    QTest::newRow("modulus 0") << 0 << 1024u << QByteArray() << 16 << 256 << RE_DATA;
    QTest::newRow("small modulus in wide bits")
        << 0 << 1024u << QByteArray::fromHex("c5a9e3") << 16 << 256 << RE_DATA;
    QTest::newRow("unseeded generator") << 1024 << 0u << QByteArray() << 16 << 0 << RE_NEED_RANDOM;
    QTest::newRow("generator short of 1 seed byte") << 1024 << 0u << QByteArray() << 16 << 255 << RE_NEED_RANDOM;
}

void TestRsa::publicEncryptRefuses()
{
    QFETCH(int, keyBits);
    QFETCH(uint32_t, bits);
    QFETCH(QByteArray, modulus);
    QFETCH(int, inputLen);
    QFETCH(int, seedBytes);
    QFETCH(int, result);

    R_RSA_PUBLIC_KEY pub = keyBits ? key(keyBits)->pub : publicKeyWith(bits, modulus);
    if (bits)
        pub.bits = bits;
    R_RANDOM_STRUCT random;
    R_RandomInit(&random);
    const QByteArray seed(seedBytes, 's');
    R_RandomUpdate(&random, bytes(seed), unsigned(seed.size()));
    const R_RANDOM_STRUCT randomBefore = random;

    const QByteArray input(inputLen, '\0');
    QByteArray out(128, char(0x5a));
    unsigned outLen = 12345;
    // A 1032 must come back at once rather than spin on the draws.
    QCOMPARE(RSAPublicEncrypt(bytes(out), &outLen, bytes(input), unsigned(inputLen), &pub, &random), result);
    QCOMPARE(out, QByteArray(128, char(0x5a)));
    QCOMPARE(outLen, 12345u);
    if (result == RE_LEN)  // refused before any padding was drawn
        QVERIFY(std::memcmp(&random, &randomBefore, sizeof random) == 0);
}

void TestRsa::privateEncryptEqualsOpenSSL_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<bool>("qAboveP");
    QTest::addColumn<int>("dataLen");
    QTest::newRow("1024 bits, 16 bytes") << 1024 << false << 16;
    QTest::newRow("1024 bits, q above p, 20 bytes") << 1024 << true << 20;
    QTest::newRow("1024 bits, largest data") << 1024 << false << 117;
    QTest::newRow("512 bits, no data") << 512 << false << 0;
    QTest::newRow("512 bits, q above p, 1 byte") << 512 << true << 1;
    QTest::newRow("777 bits, q above p, 50 bytes") << 777 << true << 50;
    QTest::newRow("209 bits, 16 bytes") << 209 << false << 16;
}

void TestRsa::privateEncryptEqualsOpenSSL()
{
    QFETCH(int, bits);
    QFETCH(bool, qAboveP);
    QFETCH(int, dataLen);
    const auto k = key(bits, qAboveP);
    std::mt19937 rng{uint32_t(bits + dataLen)};
    const QByteArray data = opensslref::randomBytes(rng, dataLen);

    // Block type 1 has no random part, so both libraries must give the same bytes.
    QByteArray ours(128, '\0');
    unsigned oursLen = 0;
    QCOMPARE(RSAPrivateEncrypt(bytes(ours), &oursLen, bytes(data), unsigned(dataLen), &k->priv), 0);
    QByteArray theirs(RSA_size(k->rsa.get()), '\0');
    const int theirsLen = RSA_private_encrypt(dataLen, bytes(data), bytes(theirs), k->rsa.get(), RSA_PKCS1_PADDING);
    QCOMPARE(int(oursLen), theirsLen);
    QCOMPARE(ours.left(int(oursLen)).toHex(), theirs.left(theirsLen).toHex());

    QByteArray back(128, '\0');
    unsigned backLen = 0;
    QCOMPARE(RSAPublicDecrypt(bytes(back), &backLen, bytes(theirs), unsigned(theirsLen), &k->pub), 0);
    QCOMPARE(back.left(int(backLen)).toHex(), data.toHex());
}

void TestRsa::privateDecryptOpensOpenSSL_data()
{
    privateEncryptEqualsOpenSSL_data();
}

void TestRsa::privateDecryptOpensOpenSSL()
{
    QFETCH(int, bits);
    QFETCH(bool, qAboveP);
    QFETCH(int, dataLen);
    const auto k = key(bits, qAboveP);
    std::mt19937 rng{uint32_t(bits * 3 + dataLen)};
    const QByteArray data = opensslref::randomBytes(rng, dataLen);

    QByteArray sealed(RSA_size(k->rsa.get()), '\0');
    const int sealedLen = RSA_public_encrypt(dataLen, bytes(data), bytes(sealed), k->rsa.get(), RSA_PKCS1_PADDING);
    QCOMPARE(sealedLen, k->k);
    QByteArray out(128, '\0');
    unsigned outLen = 0;
    QCOMPARE(RSAPrivateDecrypt(bytes(out), &outLen, bytes(sealed), unsigned(sealedLen), &k->priv), 0);
    QCOMPARE(out.left(int(outLen)).toHex(), data.toHex());

    // And our own encryption opens with our own private key.
    R_RANDOM_STRUCT random = seededStruct(uint32_t(dataLen));
    QCOMPARE(RSAPublicEncrypt(bytes(sealed), &outLen, bytes(data), unsigned(dataLen), &k->pub, &random), 0);
    QCOMPARE(RSAPrivateDecrypt(bytes(out), &outLen, bytes(sealed), unsigned(k->k), &k->priv), 0);
    QCOMPARE(out.left(int(outLen)).toHex(), data.toHex());
}

void TestRsa::malformedBlocks_data()
{
    QTest::addColumn<bool>("signature");   // type 1 through the public key, else type 2
    QTest::addColumn<QByteArray>("head");  // the block's start; the rest is data bytes 'd'
    QTest::addColumn<int>("result");

    const QByteArray ff8(8, char(0xff)), nz8("\x11\x22\x33\x44\x55\x66\x77\x88", 8);
    QTest::newRow("type 1, 8 bytes of ff") << true << (QByteArray::fromHex("0001") + ff8 + '\0') << 0;
    QTest::newRow("type 1, 7 bytes of ff") << true << (QByteArray::fromHex("0001") + ff8.left(7) + '\0') << RE_DATA;
    QTest::newRow("type 1, a padding byte not ff")
        << true << (QByteArray::fromHex("0001") + ff8 + "\xfe" + ff8 + '\0') << RE_DATA;
    QTest::newRow("type 1 expected, type 2 found") << true << (QByteArray::fromHex("0002") + nz8 + '\0') << RE_DATA;
    QTest::newRow("type 1, first byte not 0") << true << (QByteArray::fromHex("0101") + ff8 + '\0') << RE_DATA;
    QTest::newRow("type 2, 8 non-zero bytes") << false << (QByteArray::fromHex("0002") + nz8 + '\0') << 0;
    QTest::newRow("type 2, 7 non-zero bytes") << false << (QByteArray::fromHex("0002") + nz8.left(7) + '\0') << RE_DATA;
    QTest::newRow("type 2 expected, type 1 found") << false << (QByteArray::fromHex("0001") + ff8 + '\0') << RE_DATA;
    QTest::newRow("type 2, first byte not 0") << false << (QByteArray::fromHex("0102") + nz8 + '\0') << RE_DATA;
    QTest::newRow("type 2, no separator") << false << QByteArray::fromHex("0002") << RE_DATA;
    QTest::newRow("type 1, no separator") << true << QByteArray::fromHex("0001") << RE_DATA;
}

void TestRsa::malformedBlocks()
{
    QFETCH(bool, signature);
    QFETCH(QByteArray, head);
    QFETCH(int, result);
    const auto k = key(512);
    // The data part: 'd' bytes, or the padding's own kind where there is no separator.
    const char fill = head.size() == 2 ? (signature ? char(0xff) : 'd') : 'd';
    const QByteArray block = head + QByteArray(k->k - head.size(), fill);

    QByteArray out(128, char(0x5a));
    unsigned outLen = 777;
    int status;
    if (signature) {
        const QByteArray sealed = opensslRawPrivate(*k, block);
        status = RSAPublicDecrypt(bytes(out), &outLen, bytes(sealed), unsigned(sealed.size()), &k->pub);
    } else {
        const QByteArray sealed = opensslRawPublic(*k, block);
        status = RSAPrivateDecrypt(bytes(out), &outLen, bytes(sealed), unsigned(sealed.size()), &k->priv);
    }
    QCOMPARE(status, result);
    if (result == 0) {
        QCOMPARE(int(outLen), k->k - head.size());
        QCOMPARE(out.left(int(outLen)), QByteArray(int(outLen), 'd'));
    } else {
        QCOMPARE(outLen, 777u);
        QCOMPARE(out, QByteArray(128, char(0x5a)));
    }
}

void TestRsa::decryptLengthAndRangeChecks()
{
    const auto k = key(512);
    QByteArray out(128, '\0');
    unsigned outLen = 0;

    const QByteArray tooLong(k->k + 1, '\1');
    QCOMPARE(RSAPublicDecrypt(bytes(out), &outLen, bytes(tooLong), unsigned(tooLong.size()), &k->pub), RE_LEN);
    QCOMPARE(RSAPrivateDecrypt(bytes(out), &outLen, bytes(tooLong), unsigned(tooLong.size()), &k->priv), RE_LEN);

    // The modulus itself is not below the modulus.
    const QByteArray modulus(reinterpret_cast<const char *>(k->pub.modulus) + 128 - k->k, k->k);
    QCOMPARE(RSAPublicDecrypt(bytes(out), &outLen, bytes(modulus), unsigned(k->k), &k->pub), RE_DATA);
    QCOMPARE(RSAPrivateDecrypt(bytes(out), &outLen, bytes(modulus), unsigned(k->k), &k->priv), RE_DATA);

    const QByteArray data(54, 'x');
    QCOMPARE(RSAPrivateEncrypt(bytes(out), &outLen, bytes(data), 54, &k->priv), RE_LEN);
    QCOMPARE(RSAPrivateEncrypt(bytes(out), &outLen, bytes(data), 53, &k->priv), 0);

    R_RSA_PRIVATE_KEY wide = k->priv;
    wide.bits = 1025;
    QCOMPARE(RSAPrivateEncrypt(bytes(out), &outLen, bytes(data), 16, &wide), RE_LEN);
    QCOMPARE(RSAPrivateDecrypt(bytes(out), &outLen, bytes(data), 16, &wide), RE_LEN);
    R_RSA_PUBLIC_KEY widePub = k->pub;
    widePub.bits = 4096;
    QCOMPARE(RSAPublicDecrypt(bytes(out), &outLen, bytes(data), 16, &widePub), RE_LEN);
}

void TestRsa::keyFileRoundTrip()
{
    const auto k = key(1024);
    File f(std::tmpfile());
    QVERIFY(f);
    QCOMPARE(RSAWriteKeys(f.get(), &k->pub, &k->priv), 1);

    const QByteArray image = keyFileImage(f.get());
    QCOMPARE(image.size(), 972);
    auto field = [&](int at, int len) { return image.mid(at, len).toHex(); };
    auto raw = [](const uint8_t *p, int len) { return QByteArray(reinterpret_cast<const char *>(p), len).toHex(); };
    QCOMPARE(field(0, 4), QByteArray("00000001"));
    QCOMPARE(field(4, 4), QByteArray("00000400"));
    QCOMPARE(field(8, 128), raw(k->pub.modulus, 128));
    QCOMPARE(field(136, 128), raw(k->pub.exponent, 128));
    QCOMPARE(field(264, 4), QByteArray("00000400"));
    QCOMPARE(field(268, 128), raw(k->priv.modulus, 128));
    QCOMPARE(field(396, 128), raw(k->priv.publicExponent, 128));
    QCOMPARE(field(524, 128), raw(k->priv.exponent, 128));
    QCOMPARE(field(652, 64), raw(k->priv.prime[0], 64));
    QCOMPARE(field(716, 64), raw(k->priv.prime[1], 64));
    QCOMPARE(field(780, 64), raw(k->priv.primeExponent[0], 64));
    QCOMPARE(field(844, 64), raw(k->priv.primeExponent[1], 64));
    QCOMPARE(field(908, 64), raw(k->priv.coefficient, 64));

    std::rewind(f.get());
    R_RSA_PUBLIC_KEY pub;
    R_RSA_PRIVATE_KEY priv;
    std::memset(&pub, 0, sizeof pub);
    std::memset(&priv, 0, sizeof priv);
    QCOMPARE(RSAReadKeys(f.get(), &pub, &priv), 1);
    QVERIFY(std::memcmp(&pub, &k->pub, sizeof pub) == 0);
    QVERIFY(std::memcmp(&priv, &k->priv, sizeof priv) == 0);

    // The key read back works with OpenSSL's.
    const QByteArray data("read back");
    QByteArray sealed(128, '\0'), out(128, '\0');
    unsigned len = 0;
    QCOMPARE(RSAPrivateEncrypt(bytes(sealed), &len, bytes(data), unsigned(data.size()), &priv), 0);
    const int n = RSA_public_decrypt(int(len), bytes(sealed), bytes(out), k->rsa.get(), RSA_PKCS1_PADDING);
    QCOMPARE(out.left(n), data);
}

void TestRsa::keyFileRefused_data()
{
    QTest::addColumn<int>("length");    // bytes of a good file kept
    QTest::addColumn<int>("version");
    QTest::newRow("empty") << 0 << 1;
    QTest::newRow("version word only") << 4 << 1;
    QTest::newRow("one byte short") << 971 << 1;
    QTest::newRow("version 2") << 972 << 2;
    QTest::newRow("version 0") << 972 << 0;
}

void TestRsa::keyFileRefused()
{
    QFETCH(int, length);
    QFETCH(int, version);
    const auto k = key(512);
    File good(std::tmpfile());
    RSAWriteKeys(good.get(), &k->pub, &k->priv);
    QByteArray image = keyFileImage(good.get()).left(length);
    if (length >= 4)
        image[3] = char(version);

    File f(std::tmpfile());
    std::fwrite(image.constData(), 1, size_t(image.size()), f.get());
    std::rewind(f.get());
    R_RSA_PUBLIC_KEY pub;
    R_RSA_PRIVATE_KEY priv;
    std::memset(&pub, 0x77, sizeof pub);
    std::memset(&priv, 0x77, sizeof priv);
    const R_RSA_PUBLIC_KEY pubBefore = pub;
    const R_RSA_PRIVATE_KEY privBefore = priv;
    QCOMPARE(RSAReadKeys(f.get(), &pub, &priv), 0);
    QVERIFY(std::memcmp(&pub, &pubBefore, sizeof pub) == 0);
    QVERIFY(std::memcmp(&priv, &privBefore, sizeof priv) == 0);
}

void TestRsa::keyFileWriteFailure()
{
    const auto k = key(512);
    // A full device takes the buffered bytes and fails when they are flushed.
    File full(std::fopen("/dev/full", "wb"));
    if (!full)
        QSKIP("/dev/full is not available here");
    QCOMPARE(RSAWriteKeys(full.get(), &k->pub, &k->priv), 0);

    File readOnly(std::fopen("/dev/null", "rb"));
    QCOMPARE(RSAWriteKeys(readOnly.get(), &k->pub, &k->priv), 0);
}

void TestRsa::memoryHelpers()
{
    // Length 0 touches nothing, not even the pointers.
    R_memset(nullptr, 0, 0);
    R_memcpy(nullptr, nullptr, 0);
    QCOMPARE(R_memcmp(nullptr, nullptr, 0), 0);

    uint8_t a[4] = {1, 2, 3, 4};
    R_memset(a + 1, 0xee, 2);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(a), 4).toHex(), QByteArray("01eeee04"));
    const uint8_t b[4] = {9, 8, 7, 6};
    R_memcpy(a, b, 3);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(a), 4).toHex(), QByteArray("09080704"));

    const uint8_t low[2] = {0x10, 0x7f}, high[2] = {0x10, 0x80};
    QCOMPARE(R_memcmp(low, high, 2), -1);
    QCOMPARE(R_memcmp(high, low, 2), 1);
    QCOMPARE(R_memcmp(low, high, 1), 0);

    uint8_t secret[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    R_wipe(secret, sizeof secret);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(secret), 8), QByteArray(8, '\0'));
}

QTEST_APPLESS_MAIN(TestRsa)
#include "tst_rsa.moc"
