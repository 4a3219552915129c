#include "rsarandom.h"
#include "opensslref.h"

#include <QTest>

#include <cstring>

namespace {

const uint8_t *bytes(const QByteArray &a)
{
    return reinterpret_cast<const uint8_t *>(a.constData());
}

QByteArray stateOf(const R_RANDOM_STRUCT &r)
{
    return QByteArray(reinterpret_cast<const char *>(r.state), 16);
}

// The generator written out plainly on OpenSSL's MD5: the state is the sum of
// the seed blocks' digests modulo 2^128; the output is the digests of successive
// states, where stepping the state adds one to the last byte and carries to the byte
// before only while the byte just raised has become 1.
class ReferenceGenerator
{
public:
    explicit ReferenceGenerator(const QByteArray &state = QByteArray(16, '\0')) : m_state(state) {}

    void seed(const QByteArray &block)
    {
        const QByteArray digest = opensslref::md5(block);
        int carry = 0;
        for (int i = 15; i >= 0; --i) {
            const int sum = uint8_t(m_state[i]) + uint8_t(digest[i]) + carry;
            m_state[i] = char(sum & 0xff);
            carry = sum >> 8;
        }
    }

    QByteArray stream(int n)
    {
        QByteArray out;
        while (out.size() < n) {
            out += opensslref::md5(m_state);
            int i = 15;
            m_state[i] = char(uint8_t(m_state[i]) + 1);
            while (uint8_t(m_state[i]) == 1 && i > 0) {
                --i;
                m_state[i] = char(uint8_t(m_state[i]) + 1);
            }
        }
        return out.left(n);
    }

private:
    QByteArray m_state;
};

QByteArray draw(R_RANDOM_STRUCT *r, const QList<int> &pieces)
{
    QByteArray out;
    for (int n : pieces) {
        QByteArray piece(n, '\0');
        if (R_GenerateBytes(reinterpret_cast<uint8_t *>(piece.data()), unsigned(n), r) != 0)
            return QByteArray("failed");
        out += piece;
    }
    return out;
}

QList<QByteArray> seedBlocks(int count, int size, uint32_t seed)
{
    std::mt19937 rng(seed);
    QList<QByteArray> blocks;
    for (int i = 0; i < count; ++i)
        blocks.append(opensslref::randomBytes(rng, size));
    return blocks;
}

} // namespace

class TestRsaRandom : public QObject
{
    Q_OBJECT

private slots:
    void initSetsFields();
    void drawingNeedsAllSeedBytes_data();
    void drawingNeedsAllSeedBytes();
    void bytesNeededStopsAtZero();
    void knownSeedGivesReferenceSequence_data();
    void knownSeedGivesReferenceSequence();
    void drawsSpanOutputBlocks_data();
    void drawsSpanOutputBlocks();
    void stateStep_data();
    void stateStep();
    void feedSeedsFromTheSystem();
    void finalZeroesEverything();
};

void TestRsaRandom::initSetsFields()
{
    R_RANDOM_STRUCT r;
    std::memset(&r, 0xa5, sizeof r);
    QCOMPARE(R_RandomInit(&r), 0);
    QCOMPARE(r.bytesNeeded, 256u);
    QCOMPARE(stateOf(r), QByteArray(16, '\0'));
    QCOMPARE(r.outputAvailable, 0u);
    unsigned needed = 0;
    QCOMPARE(R_GetRandomBytesNeeded(&needed, &r), 0);
    QCOMPARE(needed, 256u);
}

void TestRsaRandom::drawingNeedsAllSeedBytes_data()
{
    QTest::addColumn<QList<int>>("blockSizes");
    QTest::addColumn<int>("result");
    QTest::newRow("no seed") << QList<int>{} << RE_NEED_RANDOM;
    QTest::newRow("4 bytes") << QList<int>{4} << RE_NEED_RANDOM;
    QTest::newRow("252 bytes") << QList<int>{200, 52} << RE_NEED_RANDOM;
    QTest::newRow("255 bytes") << QList<int>{255} << RE_NEED_RANDOM;
    QTest::newRow("256 bytes in one block") << QList<int>{256} << 0;
    QTest::newRow("256 bytes in 64 blocks") << QList<int>(64, 4) << 0;
    QTest::newRow("empty blocks count for nothing") << QList<int>{0, 0, 255, 0} << RE_NEED_RANDOM;
}

void TestRsaRandom::drawingNeedsAllSeedBytes()
{
    QFETCH(QList<int>, blockSizes);
    QFETCH(int, result);
    R_RANDOM_STRUCT r;
    R_RandomInit(&r);
    std::mt19937 rng(1);
    for (int size : blockSizes)
        R_RandomUpdate(&r, bytes(opensslref::randomBytes(rng, size)), unsigned(size));

    const R_RANDOM_STRUCT before = r;
    uint8_t out[40];
    std::memset(out, 0x5a, sizeof out);
    QCOMPARE(R_GenerateBytes(out, sizeof out, &r), result);
    if (result != 0) {
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(out), 40), QByteArray(40, char(0x5a)));
        QVERIFY(std::memcmp(&r, &before, sizeof r) == 0);
    } else {
        QVERIFY(QByteArray(reinterpret_cast<const char *>(out), 40) != QByteArray(40, char(0x5a)));
    }
}

void TestRsaRandom::bytesNeededStopsAtZero()
{
    R_RANDOM_STRUCT r;
    R_RandomInit(&r);
    const QByteArray big(300, 'x');
    R_RandomUpdate(&r, bytes(big), 300);
    QCOMPARE(r.bytesNeeded, 0u);
    R_RandomUpdate(&r, bytes(big), 10);
    QCOMPARE(r.bytesNeeded, 0u);
}

void TestRsaRandom::knownSeedGivesReferenceSequence_data()
{
    QTest::addColumn<QList<QByteArray>>("blocks");
    QTest::newRow("64 blocks of 4 bytes") << seedBlocks(64, 4, 2);
    QTest::newRow("one block of 256") << seedBlocks(1, 256, 3);
    QTest::newRow("uneven blocks") << (seedBlocks(3, 100, 4) << QByteArray() << QByteArray("x"));
    QTest::newRow("the same 4 bytes 64 times")
        << QList<QByteArray>(64, QByteArray::fromHex("5f3a0b12"));
}

void TestRsaRandom::knownSeedGivesReferenceSequence()
{
    QFETCH(QList<QByteArray>, blocks);
    R_RANDOM_STRUCT r;
    R_RandomInit(&r);
    ReferenceGenerator reference;
    for (const QByteArray &block : blocks) {
        R_RandomUpdate(&r, bytes(block), unsigned(block.size()));
        reference.seed(block);
    }
    QCOMPARE(draw(&r, {16 * 300}).toHex(), reference.stream(16 * 300).toHex());
}

void TestRsaRandom::drawsSpanOutputBlocks_data()
{
    QTest::addColumn<QList<int>>("pieces");
    QTest::newRow("1 byte at a time") << QList<int>(160, 1);
    QTest::newRow("16 at once") << QList<int>(10, 16);
    QTest::newRow("3, 17, 1, 40, 0, 99") << QList<int>{3, 17, 1, 40, 0, 99};
    QTest::newRow("160 at once") << QList<int>{160};
    QTest::newRow("15 then 1 then 33") << QList<int>{15, 1, 33, 111};
}

void TestRsaRandom::drawsSpanOutputBlocks()
{
    QFETCH(QList<int>, pieces);
    R_RANDOM_STRUCT r;
    R_RandomInit(&r);
    ReferenceGenerator reference;
    for (const QByteArray &block : seedBlocks(64, 4, 5)) {
        R_RandomUpdate(&r, bytes(block), 4);
        reference.seed(block);
    }
    int total = 0;
    for (int n : pieces)
        total += n;
    QCOMPARE(draw(&r, pieces).toHex(), reference.stream(total).toHex());
    QCOMPARE(r.outputAvailable, unsigned((16 - total % 16) % 16));
}

void TestRsaRandom::stateStep_data()
{
    QTest::addColumn<QByteArray>("state");
    QTest::addColumn<QByteArray>("next");
    // The carry moves on from a byte that was 0, not from one that wrapped.
    QTest::newRow("plain increment") << QByteArray::fromHex("000000000000000000000000000000a7")
                                     << QByteArray::fromHex("000000000000000000000000000000a8");
    QTest::newRow("255 wraps without carry") << QByteArray::fromHex("00000000000000000000000000000aff")
                                             << QByteArray::fromHex("00000000000000000000000000000a00");
    QTest::newRow("0 carries once") << QByteArray::fromHex("ffffffffffffffffffffffffffff0500")
                                    << QByteArray::fromHex("ffffffffffffffffffffffffffff0601");
    QTest::newRow("zeros carry on") << QByteArray::fromHex("ffffffffffffffffffffffff07000000")
                                    << QByteArray::fromHex("ffffffffffffffffffffffff08010101");
    QTest::newRow("all zero reaches byte 0") << QByteArray(16, '\0') << QByteArray(16, '\1');
}

void TestRsaRandom::stateStep()
{
    QFETCH(QByteArray, state);
    QFETCH(QByteArray, next);
    R_RANDOM_STRUCT r;
    R_RandomInit(&r);
    r.bytesNeeded = 0;
    std::memcpy(r.state, state.constData(), 16);

    // Drawing the first byte makes an output block from the state, then steps it.
    uint8_t byte;
    QCOMPARE(R_GenerateBytes(&byte, 1, &r), 0);
    QCOMPARE(stateOf(r).toHex(), next.toHex());
    QCOMPARE(byte, uint8_t(opensslref::md5(state)[0]));
    QCOMPARE(r.outputAvailable, 15u);

    // And a long run from there follows the reference, through many wraps of byte 15.
    ReferenceGenerator reference(next);
    R_RANDOM_STRUCT fresh = r;
    fresh.outputAvailable = 0;
    QCOMPARE(draw(&fresh, {16 * 700}).toHex(), reference.stream(16 * 700).toHex());
}

void TestRsaRandom::feedSeedsFromTheSystem()
{
    R_RANDOM_STRUCT a, b;
    std::memset(&a, 0, sizeof a);
    std::memset(&b, 0, sizeof b);
    QCOMPARE(RSAFeedRandomStruct(&a), 0);
    QCOMPARE(RSAFeedRandomStruct(&b), 0);
    QCOMPARE(a.bytesNeeded, 0u);
    QCOMPARE(a.outputAvailable, 0u);
    // Two structures seeded within the same moment still differ: the seed is not the clock.
    QVERIFY(stateOf(a) != stateOf(b));
    QVERIFY(stateOf(a) != QByteArray(16, '\0'));

    uint8_t out[16];
    QCOMPARE(R_GenerateBytes(out, sizeof out, &a), 0);
}

void TestRsaRandom::finalZeroesEverything()
{
    R_RANDOM_STRUCT r;
    RSAFeedRandomStruct(&r);
    uint8_t out[5];
    R_GenerateBytes(out, sizeof out, &r);
    R_RandomFinal(&r);
    R_RANDOM_STRUCT zero;
    std::memset(&zero, 0, sizeof zero);
    QVERIFY(std::memcmp(&r, &zero, sizeof r) == 0);
}

QTEST_APPLESS_MAIN(TestRsaRandom)
#include "tst_rsarandom.moc"
