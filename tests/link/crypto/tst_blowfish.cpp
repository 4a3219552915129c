#include "blowfish.h"
#include "blowfishtables_p.h"
#include "opensslref.h"
#include "refstream.h"

#include <QTest>
#include <QtEndian>

#include <cstring>

using opensslref::randomBytes;
using opensslref::u8;

namespace {

const QByteArray kSessionKey = QByteArray::fromHex("00112233445566778899aabbccddeeff");

template<typename T>
bool same(const T &a, const T &b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool sameSchedule(const BLF_CTX &ours, const BF_KEY &theirs)
{
    return std::memcmp(ours.P, theirs.P, sizeof ours.P) == 0
           && std::memcmp(&ours.S[0][0], theirs.S, sizeof ours.S) == 0;
}

// Lengths of the pieces a message is cut into, used cyclically.
using Splits = QList<int>;

// Runs a message through one of the stream calls, piece by piece.
template<typename Call>
QByteArray inPieces(const QByteArray &message, const Splits &splits, Call call)
{
    QByteArray out;
    for (int at = 0, i = 0; at < message.size(); at += splits[i], i = (i + 1) % splits.size()) {
        QByteArray piece = message.mid(at, splits[i]);
        call(u8(piece), int32_t(piece.size()));
        out += piece;
    }
    return out;
}

QByteArray runTwoWay(BLF2W_CFB_CTX *ctx, bool encrypt, int direction, QByteArray data)
{
    (encrypt ? blf2w_cfb_encrypt : blf2w_cfb_decrypt)(ctx, direction, u8(data), int32_t(data.size()));
    return data;
}

} // namespace

Q_DECLARE_METATYPE(Splits)

class TestBlowfish : public QObject
{
    Q_OBJECT

private slots:
    void publishedVectors_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("cipher");
        auto row = [](const char *key, const char *plain, const char *cipher) {
            QTest::newRow(key) << QByteArray::fromHex(key) << QByteArray::fromHex(plain) << QByteArray(cipher);
        };
        row("0000000000000000", "0000000000000000", "4ef997456198dd78");
        row("3000000000000000", "1000000000000001", "7d856f9a613063f2");
        row("fedcba9876543210", "0123456789abcdef", "0aceab0fc6a0a28d");
        row("f0", "fedcba9876543210", "f9ad597c49db005e");
    }

    void publishedVectors()
    {
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, plain);
        QFETCH(QByteArray, cipher);
        BLF_CTX ctx;
        blf_init(&ctx, u8(key), uint16_t(key.size()));
        uint32_t l = qFromBigEndian<quint32>(plain.constData());
        uint32_t r = qFromBigEndian<quint32>(plain.constData() + 4);
        blf_encipher(&ctx, &l, &r);
        QCOMPARE(QByteArray::number(quint64(l) << 32 | r, 16).rightJustified(16, '0'), cipher);
    }

    void scheduleAndBlocksEqualOpenSSL()
    {
        std::mt19937 rng(1000);
        // Every key length, and past 72 where only the first 72 bytes can matter.
        for (int keyLength = 1; keyLength <= 80; ++keyLength) {
            const QByteArray key = randomBytes(rng, keyLength);
            BLF_CTX ours;
            blf_init(&ours, u8(key), uint16_t(key.size()));
            BF_KEY theirs;
            BF_set_key(&theirs, keyLength, u8(key));
            QVERIFY2(sameSchedule(ours, theirs), key.toHex().constData());
            for (int b = 0; b < 4; ++b) {
                const uint32_t left = rng(), right = rng();
                uint32_t l = left, r = right;
                BF_LONG block[2] = {left, right};
                blf_encipher(&ours, &l, &r);
                BF_encrypt(block, &theirs);
                QCOMPARE(QList<uint32_t>({l, r}), QList<uint32_t>({uint32_t(block[0]), uint32_t(block[1])}));
                blf_decipher(&ours, &l, &r);
                QCOMPARE(QList<uint32_t>({l, r}), QList<uint32_t>({left, right}));
            }
        }
        // No key bytes: nothing is read, and P stays as with a zero key.
        BLF_CTX empty, zeros;
        const uint8_t zeroKey[4] = {};
        blf_init(&empty, nullptr, 0);
        blf_init(&zeros, zeroKey, sizeof zeroKey);
        QVERIFY(same(empty, zeros));
    }

    void dataKeyedSchedule()
    {
        // Key and data lengths that are no multiple of 4, so words span the wrap.
        std::mt19937 rng(131);
        const QByteArray key = randomBytes(rng, 5);
        const QByteArray data = randomBytes(rng, 3);
        BLF_CTX ours;
        blf_init_with_data(&ours, u8(key), uint16_t(key.size()), u8(data), uint16_t(data.size()));

        // Reference: the published tables, the key XORed into P, then the chain of 521
        // encryptions by OpenSSL's block function, each input XORed with the next data words.
        BF_KEY ref;
        std::memcpy(ref.P, blfPiTables.P, sizeof ref.P);
        std::memcpy(ref.S, blfPiTables.S, sizeof ref.S);
        int k = 0, d = 0;
        auto nextWord = [](const QByteArray &bytes, int &at) {
            BF_LONG word = 0;
            for (int i = 0; i < 4; ++i, at = (at + 1) % bytes.size())
                word = word << 8 | uint8_t(bytes[at]);
            return word;
        };
        for (BF_LONG &p : ref.P)
            p ^= nextWord(key, k);
        BF_LONG block[2] = {0, 0};
        for (int i = 0; i < 1042; i += 2) {
            block[0] ^= nextWord(data, d);
            block[1] ^= nextWord(data, d);
            BF_encrypt(block, &ref);
            for (int half = 0; half < 2; ++half)
                (i + half < 18 ? ref.P[i + half] : ref.S[i + half - 18]) = block[half];
        }
        QVERIFY(sameSchedule(ours, ref));

        // No data at all gives the plain schedule.
        BLF_CTX plain, noData;
        blf_init(&plain, u8(key), uint16_t(key.size()));
        blf_init_with_data(&noData, u8(key), uint16_t(key.size()), nullptr, 0);
        QVERIFY(same(plain, noData));
    }

    void streamEqualsReference_data()
    {
        QTest::addColumn<Splits>("splits");
        QTest::newRow("one call") << Splits{1500};
        QTest::newRow("1 byte at a time") << Splits{1};
        QTest::newRow("9 at a time") << Splits{9};
        QTest::newRow("1, 9, 10, 3, 500, ...") << Splits{1, 9, 10, 3, 500};
        QTest::newRow("8, 1, 17, 2") << Splits{8, 1, 17, 2};
    }

    void streamEqualsReference()
    {
        QFETCH(Splits, splits);
        std::mt19937 rng(42);
        const QByteArray key = randomBytes(rng, 16);
        const QByteArray plain = randomBytes(rng, 1500);
        RefStream reference(key);
        const QByteArray expected = reference.encrypt(plain);
        BLF2W_CFB_CTX ctx;
        blf2w_cfb_init(&ctx, u8(key), uint16_t(key.size()));
        auto send = [&](uint8_t *p, int32_t n) { blf2w_cfb_encrypt(&ctx, BLF_DIR_SEND, p, n); };
        auto receive = [&](uint8_t *p, int32_t n) { blf2w_cfb_decrypt(&ctx, BLF_DIR_RECV, p, n); };
        const QByteArray sent = inPieces(plain, splits, send);
        QCOMPARE(sent.toHex(), expected.toHex());
        QCOMPARE(inPieces(expected, splits, receive).toHex(), plain.toHex());
        // The ninth byte of a cycle is enciphered with the ninth of the cycle before,
        // the vector's for the first.
        QCOMPARE(uint8_t(sent[8]), uint8_t(plain[8] ^ RefStream::startVector()[8]));
        QCOMPARE(uint8_t(sent[17]), uint8_t(plain[17] ^ sent[8]));
        // The stream carries on across messages.
        const QByteArray more = randomBytes(rng, 37);
        QCOMPARE(inPieces(more, {37}, send).toHex(), reference.encrypt(more).toHex());
        // The one-way context runs the same stream.
        BLF_CFB_CTX oneWay, oneWayBack;
        blf_cfb_init(&oneWay, u8(key), uint16_t(key.size()));
        blf_cfb_init(&oneWayBack, u8(key), uint16_t(key.size()));
        QCOMPARE(inPieces(plain, splits, [&](uint8_t *p, int32_t n) { blf_cfb_encrypt(&oneWay, p, n); }).toHex(),
                 expected.toHex());
        QCOMPARE(inPieces(expected, splits, [&](uint8_t *p, int32_t n) { blf_cfb_decrypt(&oneWayBack, p, n); }).toHex(),
                 plain.toHex());
    }

    void directionSelectsState_data()
    {
        QTest::addColumn<int>("direction");
        QTest::newRow("1 receives") << 1;
        QTest::newRow("-1 sends") << -1;
    }

    // Each direction has its own state: one moves, the other stays as it was.
    void directionSelectsState()
    {
        QFETCH(int, direction);
        BLF2W_CFB_CTX fresh;
        blf2w_cfb_init(&fresh, u8(kSessionKey), uint16_t(kSessionKey.size()));
        for (bool encrypt : {true, false}) {
            BLF2W_CFB_CTX ctx = fresh;
            const QByteArray out = runTwoWay(&ctx, encrypt, direction, "twelve bytes");
            const bool receives = direction == BLF_DIR_RECV;
            QVERIFY(!same(receives ? ctx.recv : ctx.send, fresh.send));
            QVERIFY(same(receives ? ctx.send : ctx.recv, fresh.send));
            BLF2W_CFB_CTX back = fresh;
            QCOMPARE(runTwoWay(&back, !encrypt, direction, out), QByteArray("twelve bytes"));
        }
    }

    void nonPositiveLengthChangesNothing_data()
    {
        QTest::addColumn<int>("primed");
        QTest::addColumn<int>("length");
        QTest::newRow("fresh, 0") << 0 << 0;
        QTest::newRow("mid-cycle, minimum int") << 4 << int(INT32_MIN);
    }

    void nonPositiveLengthChangesNothing()
    {
        QFETCH(int, primed);
        QFETCH(int, length);
        BLF2W_CFB_CTX ctx;
        blf2w_cfb_init(&ctx, u8(kSessionKey), uint16_t(kSessionKey.size()));
        runTwoWay(&ctx, true, BLF_DIR_SEND, QByteArray(primed, 'w'));
        runTwoWay(&ctx, false, BLF_DIR_RECV, QByteArray(primed, 'w'));
        const BLF2W_CFB_CTX before = ctx;
        BLF_CFB_CTX oneWay;
        blf_cfb_init(&oneWay, u8(kSessionKey), uint16_t(kSessionKey.size()));
        const BLF_CFB_CTX oneWayBefore = oneWay;
        QByteArray data("untouched");
        for (int direction : {BLF_DIR_SEND, BLF_DIR_RECV}) {
            blf2w_cfb_encrypt(&ctx, direction, u8(data), length);
            blf2w_cfb_decrypt(&ctx, direction, u8(data), length);
        }
        blf_cfb_encrypt(&oneWay, u8(data), length);
        blf_cfb_decrypt(&oneWay, u8(data), length);
        QCOMPARE(data, QByteArray("untouched"));
        QVERIFY(same(ctx, before));
        QVERIFY(same(oneWay, oneWayBefore));
    }
};

QTEST_APPLESS_MAIN(TestBlowfish)
#include "tst_blowfish.moc"
