#include "blowfish.h"
#include "blowfishtables_p.h"
#include "opensslref.h"

#include <QTest>

#include <cstring>

using opensslref::ReferenceStream;

namespace {

const QByteArray kIv = QByteArray::fromHex("5c1e07a9d2b3468f9e0a7c4b1d3f6e28");
const QByteArray kSessionKey = QByteArray::fromHex("00112233445566778899aabbccddeeff");

const uint8_t *bytes(const QByteArray &a)
{
    return reinterpret_cast<const uint8_t *>(a.constData());
}

uint8_t *bytes(QByteArray &a)
{
    return reinterpret_cast<uint8_t *>(a.data());
}

uint32_t bigEndianWord(const QByteArray &a, int at)
{
    return uint32_t(uint8_t(a[at])) << 24 | uint32_t(uint8_t(a[at + 1])) << 16
           | uint32_t(uint8_t(a[at + 2])) << 8 | uint32_t(uint8_t(a[at + 3]));
}

QByteArray blockBytes(uint32_t left, uint32_t right)
{
    QByteArray out(8, '\0');
    for (int i = 0; i < 4; ++i) {
        out[i] = char(left >> (24 - 8 * i));
        out[4 + i] = char(right >> (24 - 8 * i));
    }
    return out;
}

QByteArray ourEncryptBlock(const QByteArray &key, const QByteArray &plain)
{
    BLF_CTX ctx;
    blf_init(&ctx, bytes(key), uint16_t(key.size()));
    uint32_t l = bigEndianWord(plain, 0), r = bigEndianWord(plain, 4);
    blf_encipher(&ctx, &l, &r);
    return blockBytes(l, r);
}

QByteArray opensslEncryptBlock(const QByteArray &key, const QByteArray &plain)
{
    BF_KEY bf;
    BF_set_key(&bf, int(key.size()), bytes(key));
    BF_LONG block[2] = {bigEndianWord(plain, 0), bigEndianWord(plain, 4)};
    BF_encrypt(block, &bf);
    return blockBytes(block[0], block[1]);
}

bool sameSchedule(const BLF_CTX &ours, const BF_KEY &theirs)
{
    return std::memcmp(ours.P, theirs.P, sizeof ours.P) == 0
           && std::memcmp(&ours.S[0][0], theirs.S, sizeof ours.S) == 0;
}

// Lengths of the pieces a 1500-byte message is cut into; the last piece takes the rest.
using Splits = QList<int>;

QList<QByteArray> cut(const QByteArray &message, const Splits &splits)
{
    QList<QByteArray> pieces;
    int at = 0;
    for (int i = 0; at < message.size(); i = (i + 1) % splits.size()) {
        const int n = qMin(splits[i], int(message.size()) - at);
        pieces.append(message.mid(at, n));
        at += n;
    }
    return pieces;
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
    void publishedVectors_data();
    void publishedVectors();
    void keyScheduleEqualsOpenSSL_data();
    void keyScheduleEqualsOpenSSL();
    void emptyKeyKeepsInitialPArray();
    void decipherInvertsAndEqualsOpenSSL();
    void dataKeyedSchedule_data();
    void dataKeyedSchedule();

    void streamEqualsReference_data();
    void streamEqualsReference();
    void decryptInPiecesRestores_data();
    void decryptInPiecesRestores();
    void ninthByteOfEachCycle();
    void directionSelectsState_data();
    void directionSelectsState();
    void statesAreIndependent();
    void nonPositiveLengthChangesNothing_data();
    void nonPositiveLengthChangesNothing();
    void oneWayEqualsSendState();
    void initStartsBothStatesAtTheVector();
};

void TestBlowfish::publishedVectors_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("cipher");

    auto row = [](const char *name, const char *key, const char *plain, const char *cipher) {
        QTest::newRow(name) << QByteArray::fromHex(key) << QByteArray::fromHex(plain)
                            << QByteArray::fromHex(cipher);
    };
    row("zero key, zero block", "0000000000000000", "0000000000000000", "4ef997456198dd78");
    row("ones key, ones block", "ffffffffffffffff", "ffffffffffffffff", "51866fd5b85ecb8a");
    row("3000..", "3000000000000000", "1000000000000001", "7d856f9a613063f2");
    row("1111.. both", "1111111111111111", "1111111111111111", "2466dd878b963c9d");
    row("0123.. key", "0123456789abcdef", "1111111111111111", "61f9c3802281b096");
    row("0123.. block", "1111111111111111", "0123456789abcdef", "7d0cc630afda1ec7");
    row("fedc.. key", "fedcba9876543210", "0123456789abcdef", "0aceab0fc6a0a28d");
    row("7ca1..", "7ca110454a1a6e57", "01a1d6d039776742", "59c68245eb05282b");
    row("0131..", "0131d9619dc1376e", "5cd54ca83def57da", "b1b8cc0b250f09a0");
    row("07a1..", "07a1133e4a0b2686", "0248d43806f67172", "1730e5778bea1da4");
    // The variable-length key series: one key cut to 1, 8, 16 and 24 bytes.
    const char *longKey = "f0e1d2c3b4a5968778695a4b3c2d1e0f0011223344556677";
    const char *plain = "fedcba9876543210";
    row("key length 1", QByteArray(longKey).left(2).constData(), plain, "f9ad597c49db005e");
    row("key length 8", QByteArray(longKey).left(16).constData(), plain, "e87a244e2cc85e82");
    row("key length 16", QByteArray(longKey).left(32).constData(), plain, "93142887ee3be15c");
    row("key length 24", longKey, plain, "05044b62fa52d080");
}

void TestBlowfish::publishedVectors()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, cipher);

    QCOMPARE(opensslEncryptBlock(key, plain).toHex(), cipher.toHex());
    QCOMPARE(ourEncryptBlock(key, plain).toHex(), cipher.toHex());
}

void TestBlowfish::keyScheduleEqualsOpenSSL_data()
{
    QTest::addColumn<int>("keyLength");
    for (int len : {1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 31, 32, 33, 48, 55, 56, 72})
        QTest::addRow("%d bytes", len) << len;
}

void TestBlowfish::keyScheduleEqualsOpenSSL()
{
    QFETCH(int, keyLength);
    std::mt19937 rng(1000u + unsigned(keyLength));
    for (int round = 0; round < 8; ++round) {
        const QByteArray key = opensslref::randomBytes(rng, keyLength);
        BLF_CTX ours;
        blf_init(&ours, bytes(key), uint16_t(key.size()));
        BF_KEY theirs;
        BF_set_key(&theirs, int(key.size()), bytes(key));
        QVERIFY2(sameSchedule(ours, theirs), key.toHex().constData());

        for (int b = 0; b < 16; ++b) {
            const QByteArray plain = opensslref::randomBytes(rng, 8);
            QCOMPARE(ourEncryptBlock(key, plain).toHex(), opensslEncryptBlock(key, plain).toHex());
        }
    }
}

void TestBlowfish::emptyKeyKeepsInitialPArray()
{
    // With no key bytes the P-array is not XORed at all, so the schedule equals that of
    // an all-zero key (XOR with zero) rather than reading outside the key.
    BLF_CTX empty, zeros;
    blf_init(&empty, nullptr, 0);
    const uint8_t zeroKey[4] = {};
    blf_init(&zeros, zeroKey, sizeof zeroKey);
    QVERIFY(std::memcmp(&empty, &zeros, sizeof empty) == 0);
}

void TestBlowfish::decipherInvertsAndEqualsOpenSSL()
{
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        const QByteArray key = opensslref::randomBytes(rng, 1 + int(rng() % 56));
        BLF_CTX ctx;
        blf_init(&ctx, bytes(key), uint16_t(key.size()));
        BF_KEY bf;
        BF_set_key(&bf, int(key.size()), bytes(key));

        const uint32_t left = rng(), right = rng();
        uint32_t l = left, r = right;
        blf_decipher(&ctx, &l, &r);
        BF_LONG block[2] = {left, right};
        BF_decrypt(block, &bf);
        QCOMPARE(l, uint32_t(block[0]));
        QCOMPARE(r, uint32_t(block[1]));

        blf_encipher(&ctx, &l, &r);
        QCOMPARE(l, left);
        QCOMPARE(r, right);
    }
}

void TestBlowfish::dataKeyedSchedule_data()
{
    QTest::addColumn<int>("keyLength");
    QTest::addColumn<int>("dataLength");
    QTest::newRow("16-byte key, 16 bytes of data") << 16 << 16;
    QTest::newRow("5-byte key, 3 bytes of data (words span the wrap)") << 5 << 3;
    QTest::newRow("56-byte key, 100 bytes of data") << 56 << 100;
    QTest::newRow("1-byte key, 1 byte of data") << 1 << 1;
}

void TestBlowfish::dataKeyedSchedule()
{
    QFETCH(int, keyLength);
    QFETCH(int, dataLength);
    std::mt19937 rng{uint32_t(keyLength * 131 + dataLength)};
    const QByteArray key = opensslref::randomBytes(rng, keyLength);
    const QByteArray data = opensslref::randomBytes(rng, dataLength);

    BLF_CTX ours;
    blf_init_with_data(&ours, bytes(key), uint16_t(key.size()), bytes(data), uint16_t(data.size()));

    // Reference: the published tables (proven by the schedule test, where any wrong
    // word would show), the key XORed into P byte by byte, then the chain run with
    // OpenSSL's block function over the schedule being built.
    BF_KEY ref;
    std::memcpy(ref.P, blfPiTables.P, sizeof ref.P);
    std::memcpy(ref.S, blfPiTables.S, sizeof ref.S);
    int k = 0, d = 0;
    for (BF_LONG &p : ref.P) {
        BF_LONG word = 0;
        for (int i = 0; i < 4; ++i, k = (k + 1) % keyLength)
            word = word << 8 | uint8_t(key[k]);
        p ^= word;
    }
    auto nextDataWord = [&] {
        BF_LONG word = 0;
        for (int i = 0; i < 4; ++i, d = (d + 1) % dataLength)
            word = word << 8 | uint8_t(data[d]);
        return word;
    };
    BF_LONG block[2] = {0, 0};
    BF_LONG *targets[1042];
    for (int i = 0; i < 18; ++i)
        targets[i] = &ref.P[i];
    for (int i = 0; i < 1024; ++i)
        targets[18 + i] = &ref.S[i];
    for (int i = 0; i < 1042; i += 2) {
        block[0] ^= nextDataWord();
        block[1] ^= nextDataWord();
        BF_encrypt(block, &ref);
        *targets[i] = block[0];
        *targets[i + 1] = block[1];
    }
    QVERIFY(sameSchedule(ours, ref));

    // All-zero data changes nothing, and no data at all neither.
    const QByteArray zeros(dataLength, '\0');
    BLF_CTX plain, zeroData, noData;
    blf_init(&plain, bytes(key), uint16_t(key.size()));
    blf_init_with_data(&zeroData, bytes(key), uint16_t(key.size()), bytes(zeros), uint16_t(zeros.size()));
    blf_init_with_data(&noData, bytes(key), uint16_t(key.size()), nullptr, 0);
    QVERIFY(std::memcmp(&plain, &zeroData, sizeof plain) == 0);
    QVERIFY(std::memcmp(&plain, &noData, sizeof plain) == 0);
    QVERIFY(std::memcmp(&plain, &ours, sizeof plain) != 0);
}

void TestBlowfish::streamEqualsReference_data()
{
    QTest::addColumn<Splits>("splits");
    QTest::newRow("one call") << Splits{1500};
    QTest::newRow("1 byte at a time") << Splits{1};
    QTest::newRow("9 at a time") << Splits{9};
    QTest::newRow("10 at a time") << Splits{10};
    QTest::newRow("3 at a time") << Splits{3};
    QTest::newRow("500 at a time") << Splits{500};
    QTest::newRow("1, 9, 10, 3, 500, ...") << Splits{1, 9, 10, 3, 500};
    QTest::newRow("8, 1, 17, 2") << Splits{8, 1, 17, 2};
    QTest::newRow("1499 then 1") << Splits{1499, 1};
}

void TestBlowfish::streamEqualsReference()
{
    QFETCH(Splits, splits);
    std::mt19937 rng(42);
    const QByteArray plain = opensslref::randomBytes(rng, 1500);

    ReferenceStream reference(kSessionKey, kIv);
    const QByteArray expected = reference.encrypt(plain);

    BLF2W_CFB_CTX ctx;
    blf2w_cfb_init(&ctx, bytes(kSessionKey), uint16_t(kSessionKey.size()));
    QByteArray actual;
    for (QByteArray piece : cut(plain, splits)) {
        blf2w_cfb_encrypt(&ctx, BLF_DIR_SEND, bytes(piece), int32_t(piece.size()));
        actual += piece;
    }
    QCOMPARE(actual.toHex(), expected.toHex());
    // The stream carries on: a further message continues the same keystream.
    const QByteArray more = opensslref::randomBytes(rng, 37);
    QByteArray moreOurs = more;
    blf2w_cfb_encrypt(&ctx, BLF_DIR_SEND, bytes(moreOurs), int32_t(moreOurs.size()));
    QCOMPARE(moreOurs.toHex(), reference.encrypt(more).toHex());
}

void TestBlowfish::decryptInPiecesRestores_data()
{
    streamEqualsReference_data();
}

void TestBlowfish::decryptInPiecesRestores()
{
    QFETCH(Splits, splits);
    std::mt19937 rng(43);
    const QByteArray key = opensslref::randomBytes(rng, 16);
    const QByteArray plain = opensslref::randomBytes(rng, 1500);
    ReferenceStream peer(key, kIv);
    const QByteArray cipher = peer.encrypt(plain);

    BLF2W_CFB_CTX ctx;
    blf2w_cfb_init(&ctx, bytes(key), uint16_t(key.size()));
    QByteArray restored;
    for (QByteArray piece : cut(cipher, splits)) {
        blf2w_cfb_decrypt(&ctx, BLF_DIR_RECV, bytes(piece), int32_t(piece.size()));
        restored += piece;
    }
    QCOMPARE(restored.toHex(), plain.toHex());
}

void TestBlowfish::ninthByteOfEachCycle()
{
    std::mt19937 rng(44);
    const QByteArray plain = opensslref::randomBytes(rng, 45);
    QByteArray cipher = plain;
    BLF2W_CFB_CTX ctx;
    blf2w_cfb_init(&ctx, bytes(kSessionKey), uint16_t(kSessionKey.size()));
    blf2w_cfb_encrypt(&ctx, BLF_DIR_SEND, bytes(cipher), int32_t(cipher.size()));

    QCOMPARE(uint8_t(cipher[8]), uint8_t(uint8_t(plain[8]) ^ uint8_t(kIv[8])));
    for (int cycle = 1; cycle < 5; ++cycle) {
        const int at = 9 * cycle + 8;
        QCOMPARE(uint8_t(cipher[at]), uint8_t(uint8_t(plain[at]) ^ uint8_t(cipher[at - 9])));
    }
    // The first eight bytes of a cycle are Blowfish output, not a copy of anything.
    QVERIFY(cipher.left(8) != (QByteArray(plain.left(8))));
}

void TestBlowfish::directionSelectsState_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<bool>("selectsReceive");
    QTest::newRow("1 receives") << 1 << true;
    QTest::newRow("2 sends") << 2 << false;
    QTest::newRow("0 sends") << 0 << false;
    QTest::newRow("-1 sends") << -1 << false;
    QTest::newRow("7 sends") << 7 << false;
}

void TestBlowfish::directionSelectsState()
{
    QFETCH(int, direction);
    QFETCH(bool, selectsReceive);

    BLF2W_CFB_CTX fresh, ctx;
    blf2w_cfb_init(&fresh, bytes(kSessionKey), uint16_t(kSessionKey.size()));
    ctx = fresh;
    QByteArray data("twelve bytes");
    blf2w_cfb_encrypt(&ctx, direction, bytes(data), int32_t(data.size()));

    const BLF_CFB_STATE &moved = selectsReceive ? ctx.recv : ctx.send;
    const BLF_CFB_STATE &still = selectsReceive ? ctx.send : ctx.recv;
    QVERIFY(!sameState(moved, fresh.send));
    QVERIFY(sameState(still, fresh.send));
    QCOMPARE(moved.position, 3);

    // Decrypting picks its state by the same rule.
    QByteArray back = data;
    BLF2W_CFB_CTX other = fresh;
    blf2w_cfb_decrypt(&other, direction, bytes(back), int32_t(back.size()));
    QCOMPARE(back, QByteArray("twelve bytes"));
    QVERIFY(sameState(selectsReceive ? other.send : other.recv, fresh.send));
}

void TestBlowfish::statesAreIndependent()
{
    // One context receiving and sending interleaved gives the same bytes as two
    // contexts each doing one direction only.
    std::mt19937 rng(45);
    const QByteArray outgoing = opensslref::randomBytes(rng, 300);
    ReferenceStream server(kSessionKey, kIv);
    const QByteArray incoming = server.encrypt(opensslref::randomBytes(rng, 300));

    BLF2W_CFB_CTX both, sendOnly, recvOnly;
    blf2w_cfb_init(&both, bytes(kSessionKey), uint16_t(kSessionKey.size()));
    sendOnly = both;
    recvOnly = both;

    QByteArray sentBoth, readBoth, sentAlone, readAlone;
    for (int at = 0; at < 300; at += 7) {
        QByteArray out = outgoing.mid(at, 7), in = incoming.mid(at, 5 + at % 4);
        QByteArray out2 = out, in2 = in;
        blf2w_cfb_encrypt(&both, BLF_DIR_SEND, bytes(out), int32_t(out.size()));
        blf2w_cfb_decrypt(&both, BLF_DIR_RECV, bytes(in), int32_t(in.size()));
        blf2w_cfb_encrypt(&sendOnly, BLF_DIR_SEND, bytes(out2), int32_t(out2.size()));
        blf2w_cfb_decrypt(&recvOnly, BLF_DIR_RECV, bytes(in2), int32_t(in2.size()));
        sentBoth += out;
        readBoth += in;
        sentAlone += out2;
        readAlone += in2;
    }
    QCOMPARE(sentBoth.toHex(), sentAlone.toHex());
    QCOMPARE(readBoth.toHex(), readAlone.toHex());
    QCOMPARE(sentBoth.toHex(), ReferenceStream(kSessionKey, kIv).encrypt(outgoing).toHex());
}

void TestBlowfish::nonPositiveLengthChangesNothing_data()
{
    QTest::addColumn<int>("primed");
    QTest::addColumn<int>("length");
    QTest::newRow("fresh, 0") << 0 << 0;
    QTest::newRow("fresh, -1") << 0 << -1;
    QTest::newRow("mid-cycle, 0") << 4 << 0;
    QTest::newRow("mid-cycle, -100") << 4 << -100;
    QTest::newRow("cycle end, minimum int") << 9 << int(INT32_MIN);
}

void TestBlowfish::nonPositiveLengthChangesNothing()
{
    QFETCH(int, primed);
    QFETCH(int, length);

    BLF2W_CFB_CTX ctx;
    blf2w_cfb_init(&ctx, bytes(kSessionKey), uint16_t(kSessionKey.size()));
    QByteArray warmUp(primed, 'w');
    blf2w_cfb_encrypt(&ctx, BLF_DIR_SEND, bytes(warmUp), int32_t(warmUp.size()));
    blf2w_cfb_decrypt(&ctx, BLF_DIR_RECV, bytes(warmUp), int32_t(warmUp.size()));
    const BLF2W_CFB_CTX before = ctx;

    QByteArray data("untouched");
    for (int direction : {BLF_DIR_SEND, BLF_DIR_RECV}) {
        blf2w_cfb_encrypt(&ctx, direction, bytes(data), length);
        blf2w_cfb_decrypt(&ctx, direction, bytes(data), length);
    }
    QCOMPARE(data, QByteArray("untouched"));
    QVERIFY(std::memcmp(&ctx, &before, sizeof ctx) == 0);

    BLF_CFB_CTX oneWay;
    blf_cfb_init(&oneWay, bytes(kSessionKey), uint16_t(kSessionKey.size()));
    const BLF_CFB_CTX oneWayBefore = oneWay;
    blf_cfb_encrypt(&oneWay, bytes(data), length);
    blf_cfb_decrypt(&oneWay, bytes(data), length);
    QCOMPARE(data, QByteArray("untouched"));
    QVERIFY(std::memcmp(&oneWay, &oneWayBefore, sizeof oneWay) == 0);
}

void TestBlowfish::oneWayEqualsSendState()
{
    std::mt19937 rng(46);
    const QByteArray key = opensslref::randomBytes(rng, 11);
    const QByteArray plain = opensslref::randomBytes(rng, 100);

    BLF_CFB_CTX oneWay;
    blf_cfb_init(&oneWay, bytes(key), uint16_t(key.size()));
    QByteArray cipher = plain;
    blf_cfb_encrypt(&oneWay, bytes(cipher), 40);
    blf_cfb_encrypt(&oneWay, bytes(cipher) + 40, 60);
    QCOMPARE(cipher.toHex(), ReferenceStream(key, kIv).encrypt(plain).toHex());

    BLF_CFB_CTX back;
    blf_cfb_init(&back, bytes(key), uint16_t(key.size()));
    blf_cfb_decrypt(&back, bytes(cipher), 13);
    blf_cfb_decrypt(&back, bytes(cipher) + 13, 87);
    QCOMPARE(cipher.toHex(), plain.toHex());
}

void TestBlowfish::initStartsBothStatesAtTheVector()
{
    BLF2W_CFB_CTX ctx;
    std::memset(&ctx, 0xa5, sizeof ctx);
    blf2w_cfb_init(&ctx, bytes(kSessionKey), uint16_t(kSessionKey.size()));
    for (const BLF_CFB_STATE *s : {&ctx.recv, &ctx.send}) {
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(s->reg), 16).toHex(), kIv.toHex());
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(s->keystream), 16).toHex(), kIv.toHex());
        QCOMPARE(s->position, 9);
    }

    // Both states produce the same keystream from the same start: what one encrypts
    // the other decrypts.
    QByteArray data("the same keystream in both directions");
    blf2w_cfb_encrypt(&ctx, BLF_DIR_SEND, bytes(data), int32_t(data.size()));
    blf2w_cfb_decrypt(&ctx, BLF_DIR_RECV, bytes(data), int32_t(data.size()));
    QCOMPARE(data, QByteArray("the same keystream in both directions"));
    QVERIFY(sameState(ctx.send, ctx.recv));
}

QTEST_APPLESS_MAIN(TestBlowfish)
#include "tst_blowfish.moc"
