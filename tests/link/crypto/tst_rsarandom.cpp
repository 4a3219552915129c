#include "rsarandom.h"
#include "opensslref.h"

#include <QTest>

#include <cstring>

using opensslref::u8;

namespace {

QByteArray stateOf(const R_RANDOM_STRUCT &r) { return QByteArray(reinterpret_cast<const char *>(r.state), 16); }

// The generator written out plainly on OpenSSL's MD5: the state is the sum of the
// seed blocks' digests modulo 2^128; the output is the digests of successive states,
// where a step adds one to the last byte and carries to the byte before only while
// the byte just raised has become 1.
class ReferenceGenerator
{
public:
    explicit ReferenceGenerator(const QByteArray &state = QByteArray(16, '\0')) : m_state(state) {}

    void seed(const QByteArray &block)
    {
        const QByteArray digest = opensslref::md5(block);
        for (int i = 15, carry = 0; i >= 0; --i) {
            const int sum = uint8_t(m_state[i]) + uint8_t(digest[i]) + carry;
            m_state[i] = char(sum);
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
        if (R_GenerateBytes(opensslref::u8(piece), unsigned(n), r) != 0)
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
    // Nothing is drawn before 256 seed bytes have come in; empty blocks count for nothing.
    void drawingNeedsAllSeedBytes()
    {
        R_RANDOM_STRUCT r;
        std::memset(&r, 0xa5, sizeof r);
        QCOMPARE(R_RandomInit(&r), 0);
        QList<unsigned> needed;
        for (int size : {0, 255, 0, 1}) {
            const R_RANDOM_STRUCT before = r;
            QByteArray out(40, char(0x5a));
            QCOMPARE(R_GenerateBytes(u8(out), 40, &r), RE_NEED_RANDOM);
            QCOMPARE(out, QByteArray(40, char(0x5a)));
            QVERIFY(std::memcmp(&r, &before, sizeof r) == 0);
            R_RandomUpdate(&r, u8(QByteArray(size, 's')), unsigned(size));
            QCOMPARE(R_GetRandomBytesNeeded(&needed.emplace_back(), &r), 0);
        }
        QCOMPARE(needed, QList<unsigned>({256, 1, 1, 0}));
        uint8_t byte;
        QCOMPARE(R_GenerateBytes(&byte, 1, &r), 0);
    }

    void seededSequenceEqualsReference_data()
    {
        QTest::addColumn<QList<QByteArray>>("blocks");
        QTest::addColumn<QList<int>>("pieces");
        QTest::newRow("64 blocks of 4, drawn 1 byte at a time")
            << seedBlocks(64, 4, 2) << QList<int>(16 * 40, 1);
        QTest::newRow("one block of 256, drawn 16 at once") << seedBlocks(1, 256, 3) << QList<int>(40, 16);
        QTest::newRow("uneven blocks, uneven draws, one long")
            << (seedBlocks(3, 100, 4) << QByteArray() << QByteArray("x")) << QList<int>{3, 17, 1, 40, 0, 16 * 700 + 5};
    }

    void seededSequenceEqualsReference()
    {
        QFETCH(QList<QByteArray>, blocks);
        QFETCH(QList<int>, pieces);
        R_RANDOM_STRUCT r;
        R_RandomInit(&r);
        ReferenceGenerator reference;
        for (const QByteArray &block : blocks) {
            R_RandomUpdate(&r, u8(block), unsigned(block.size()));
            reference.seed(block);
        }
        int total = 0;
        for (int n : pieces)
            total += n;
        QCOMPARE(draw(&r, pieces).toHex(), reference.stream(total).toHex());
        QCOMPARE(r.outputAvailable, unsigned((16 - total % 16) % 16));
    }

    void stateStep_data()
    {
        QTest::addColumn<QByteArray>("state");
        QTest::addColumn<QByteArray>("next");
        // The carry moves on from a byte that was 0, not from one that wrapped.
        QTest::newRow("255 wraps without carry") << QByteArray::fromHex("00000000000000000000000000000aff")
                                                 << QByteArray::fromHex("00000000000000000000000000000a00");
        QTest::newRow("zeros carry on") << QByteArray::fromHex("ffffffffffffffffffffffff07000000")
                                        << QByteArray::fromHex("ffffffffffffffffffffffff08010101");
        QTest::newRow("all zero reaches byte 0") << QByteArray(16, '\0') << QByteArray(16, '\1');
    }

    void stateStep()
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
    }

    void feedSeedsFromTheSystem()
    {
        R_RANDOM_STRUCT a, b;
        QCOMPARE(RSAFeedRandomStruct(&a), 0);
        QCOMPARE(RSAFeedRandomStruct(&b), 0);
        QCOMPARE(a.bytesNeeded, 0u);
        // Two structures seeded within the same moment still differ: the seed is not the clock.
        QVERIFY(stateOf(a) != stateOf(b));
        QVERIFY(stateOf(a) != QByteArray(16, '\0'));
        uint8_t out[5];
        QCOMPARE(R_GenerateBytes(out, sizeof out, &a), 0);
        R_RandomFinal(&a);
        const R_RANDOM_STRUCT zero = {};
        QVERIFY(std::memcmp(&a, &zero, sizeof a) == 0);
    }
};

QTEST_APPLESS_MAIN(TestRsaRandom)
#include "tst_rsarandom.moc"
