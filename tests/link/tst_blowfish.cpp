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

QByteArray ourEncryptBlock(const QByteArray &key, const QByteArray &plain)
{
    BLF_CTX ctx;
    blf_init(&ctx, u8(key), uint16_t(key.size()));
    uint32_t l = qFromBigEndian<quint32>(plain.constData());
    uint32_t r = qFromBigEndian<quint32>(plain.constData() + 4);
    blf_encipher(&ctx, &l, &r);
    return QByteArray::number(l, 16).rightJustified(8, '0') + QByteArray::number(r, 16).rightJustified(8, '0');
}

bool sameSchedule(const BLF_CTX &ours, const BF_KEY &theirs)
{
    return std::memcmp(ours.P, theirs.P, sizeof ours.P) == 0
           && std::memcmp(&ours.S[0][0], theirs.S, sizeof ours.S) == 0;
}

// Lengths of the pieces a message is cut into, used cyclically.
using Splits = QList<int>;

QList<QByteArray> cut(const QByteArray &message, const Splits &splits)
{
    QList<QByteArray> pieces;
    for (int at = 0, i = 0; at < message.size(); i = (i + 1) % splits.size()) {
        pieces.append(message.mid(at, splits[i]));
        at += splits[i];
    }
    return pieces;
}

QByteArray runTwoWay(BLF2W_CFB_CTX *ctx, bool encrypt, int direction, QByteArray data)
{
    if (encrypt)
        blf2w_cfb_encrypt(ctx, direction, u8(data), int32_t(data.size()));
    else
        blf2w_cfb_decrypt(ctx, direction, u8(data), int32_t(data.size()));
    return data;
}

bool sameState(const BLF_CFB_STATE &a, const BLF_CFB_STATE &b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
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
        row("ffffffffffffffff", "ffffffffffffffff", "51866fd5b85ecb8a");
        row("3000000000000000", "1000000000000001", "7d856f9a613063f2");
        row("0123456789abcdef", "1111111111111111", "61f9c3802281b096");
        row("fedcba9876543210", "0123456789abcdef", "0aceab0fc6a0a28d");
        // The variable-length key series: one key cut to 1, 8 and 24 bytes.
        row("f0", "fedcba9876543210", "f9ad597c49db005e");
        row("f0e1d2c3b4a59687", "fedcba9876543210", "e87a244e2cc85e82");
        row("f0e1d2c3b4a5968778695a4b3c2d1e0f0011223344556677", "fedcba9876543210", "05044b62fa52d080");
    }

    void publishedVectors()
    {
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, plain);
        QFETCH(QByteArray, cipher);
        QCOMPARE(ourEncryptBlock(key, plain), cipher);
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

            for (int b = 0; b < 8; ++b) {
                const uint32_t left = rng(), right = rng();
                uint32_t l = left, r = right;
                BF_LONG block[2] = {left, right};
                blf_encipher(&ours, &l, &r);
                BF_encrypt(block, &theirs);
                QCOMPARE(l, uint32_t(block[0]));
                QCOMPARE(r, uint32_t(block[1]));
                blf_decipher(&ours, &l, &r);
                QCOMPARE(l, left);
                QCOMPARE(r, right);
            }
        }

        // No key bytes: nothing is XORed into P (as with a zero key), nothing read.
        BLF_CTX empty, zeros;
        const uint8_t zeroKey[4] = {};
        blf_init(&empty, nullptr, 0);
        blf_init(&zeros, zeroKey, sizeof zeroKey);
        QVERIFY(std::memcmp(&empty, &zeros, sizeof empty) == 0);
    }

    void dataKeyedSchedule_data()
    {
        QTest::addColumn<int>("keyLength");
        QTest::addColumn<int>("dataLength");
        QTest::newRow("16-byte key, 16 bytes of data") << 16 << 16;
        QTest::newRow("5-byte key, 3 bytes of data (words span the wrap)") << 5 << 3;
        QTest::newRow("56-byte key, 100 bytes of data") << 56 << 100;
    }

    void dataKeyedSchedule()
    {
        QFETCH(int, keyLength);
        QFETCH(int, dataLength);
        std::mt19937 rng{uint32_t(keyLength * 131 + dataLength)};
        const QByteArray key = randomBytes(rng, keyLength);
        const QByteArray data = randomBytes(rng, dataLength);
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

        // All-zero data and no data at all both give the plain schedule.
        const QByteArray zeros(dataLength, '\0');
        BLF_CTX plain, zeroData, noData;
        blf_init(&plain, u8(key), uint16_t(key.size()));
        blf_init_with_data(&zeroData, u8(key), uint16_t(key.size()), u8(zeros), uint16_t(zeros.size()));
        blf_init_with_data(&noData, u8(key), uint16_t(key.size()), nullptr, 0);
        QVERIFY(std::memcmp(&plain, &zeroData, sizeof plain) == 0);
        QVERIFY(std::memcmp(&plain, &noData, sizeof plain) == 0);
    }

    void streamEqualsReference_data()
    {
        QTest::addColumn<Splits>("splits");
        QTest::newRow("one call") << Splits{1500};
        QTest::newRow("1 byte at a time") << Splits{1};
        QTest::newRow("9 at a time") << Splits{9};
        QTest::newRow("10 at a time") << Splits{10};
        QTest::newRow("3 at a time") << Splits{3};
        QTest::newRow("1, 9, 10, 3, 500, ...") << Splits{1, 9, 10, 3, 500};
        QTest::newRow("8, 1, 17, 2") << Splits{8, 1, 17, 2};
        QTest::newRow("1499 then 1") << Splits{1499, 1};
    }

    void streamEqualsReference()
    {
        QFETCH(Splits, splits);
        std::mt19937 rng(42);
        const QByteArray key = randomBytes(rng, 16);
        const QByteArray plain = randomBytes(rng, 1500);
        RefStream reference(key);
        const QByteArray expected = reference.encrypt(plain);

        BLF2W_CFB_CTX sender, receiver;
        blf2w_cfb_init(&sender, u8(key), uint16_t(key.size()));
        blf2w_cfb_init(&receiver, u8(key), uint16_t(key.size()));
        QByteArray sent, restored;
        for (const QByteArray &piece : cut(plain, splits))
            sent += runTwoWay(&sender, true, BLF_DIR_SEND, piece);
        for (const QByteArray &piece : cut(expected, splits))
            restored += runTwoWay(&receiver, false, BLF_DIR_RECV, piece);
        QCOMPARE(sent.toHex(), expected.toHex());
        QCOMPARE(restored.toHex(), plain.toHex());
        // The ninth byte of a cycle is enciphered with the ninth of the cycle before,
        // the vector's for the first.
        QCOMPARE(uint8_t(sent[8]), uint8_t(plain[8] ^ RefStream::startVector()[8]));
        QCOMPARE(uint8_t(sent[17]), uint8_t(plain[17] ^ sent[8]));

        // The stream carries on across messages.
        const QByteArray more = randomBytes(rng, 37);
        QCOMPARE(runTwoWay(&sender, true, BLF_DIR_SEND, more).toHex(), reference.encrypt(more).toHex());
    }

    void directionSelectsState_data()
    {
        QTest::addColumn<int>("direction");
        QTest::addColumn<bool>("selectsReceive");
        QTest::newRow("1 receives") << 1 << true;
        QTest::newRow("2 sends") << 2 << false;
        QTest::newRow("0 sends") << 0 << false;
        QTest::newRow("-1 sends") << -1 << false;
    }

    // Each direction has its own state: one moves, the other stays as it was.
    void directionSelectsState()
    {
        QFETCH(int, direction);
        QFETCH(bool, selectsReceive);
        BLF2W_CFB_CTX fresh;
        blf2w_cfb_init(&fresh, u8(kSessionKey), uint16_t(kSessionKey.size()));

        for (bool encrypt : {true, false}) {
            BLF2W_CFB_CTX ctx = fresh;
            const QByteArray out = runTwoWay(&ctx, encrypt, direction, "twelve bytes");
            const BLF_CFB_STATE &moved = selectsReceive ? ctx.recv : ctx.send;
            const BLF_CFB_STATE &still = selectsReceive ? ctx.send : ctx.recv;
            QVERIFY(!sameState(moved, fresh.send));
            QVERIFY(sameState(still, fresh.send));
            BLF2W_CFB_CTX back = fresh;
            QCOMPARE(runTwoWay(&back, !encrypt, direction, out), QByteArray("twelve bytes"));
        }
    }

    void nonPositiveLengthChangesNothing_data()
    {
        QTest::addColumn<int>("primed");
        QTest::addColumn<int>("length");
        QTest::newRow("fresh, 0") << 0 << 0;
        QTest::newRow("mid-cycle, -1") << 4 << -1;
        QTest::newRow("cycle end, minimum int") << 9 << int(INT32_MIN);
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

        QByteArray data("untouched");
        for (int direction : {BLF_DIR_SEND, BLF_DIR_RECV}) {
            blf2w_cfb_encrypt(&ctx, direction, u8(data), length);
            blf2w_cfb_decrypt(&ctx, direction, u8(data), length);
        }
        BLF_CFB_CTX oneWay;
        blf_cfb_init(&oneWay, u8(kSessionKey), uint16_t(kSessionKey.size()));
        const BLF_CFB_CTX oneWayBefore = oneWay;
        blf_cfb_encrypt(&oneWay, u8(data), length);
        blf_cfb_decrypt(&oneWay, u8(data), length);

        QCOMPARE(data, QByteArray("untouched"));
        QVERIFY(std::memcmp(&ctx, &before, sizeof ctx) == 0);
        QVERIFY(std::memcmp(&oneWay, &oneWayBefore, sizeof oneWay) == 0);
    }

    void oneWayEqualsSendState()
    {
        std::mt19937 rng(46);
        const QByteArray key = randomBytes(rng, 11);
        const QByteArray plain = randomBytes(rng, 100);

        BLF_CFB_CTX oneWay;
        blf_cfb_init(&oneWay, u8(key), uint16_t(key.size()));
        QByteArray cipher = plain;
        blf_cfb_encrypt(&oneWay, u8(cipher), 40);
        blf_cfb_encrypt(&oneWay, u8(cipher) + 40, 60);
        QCOMPARE(cipher.toHex(), RefStream(key).encrypt(plain).toHex());

        blf_cfb_init(&oneWay, u8(key), uint16_t(key.size()));
        blf_cfb_decrypt(&oneWay, u8(cipher), 13);
        blf_cfb_decrypt(&oneWay, u8(cipher) + 13, 87);
        QCOMPARE(cipher.toHex(), plain.toHex());
    }
};

QTEST_APPLESS_MAIN(TestBlowfish)
#include "tst_blowfish.moc"
