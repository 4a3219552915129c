#include "nn.h"
#include "opensslref.h"

#include <QTest>

#include <openssl/err.h>

#include <cstring>

using opensslref::Bn;
using opensslref::bnFromDigits;
using opensslref::digitsFromBn;
using opensslref::newBn;

namespace {

constexpr unsigned kWide = 2 * MAX_NN_DIGITS;

// Operand shapes for the random tests.
enum class Shape {
    Random,        // every digit random, the top one non-zero
    TopAllOnes,    // top digit 0xffffffff (no normalising shift)
    TopOneBit,     // top digit 1 (normalising shift of 31)
    SparseBits,    // few bits set: many zero digits inside
};

struct Number
{
    NN_DIGIT d[kWide + 1] = {};  // one spare digit, so the tests can see what is past a result
};

NN_DIGIT nonZero(std::mt19937 &rng)
{
    NN_DIGIT x;
    do {
        x = rng();
    } while (x == 0);
    return x;
}

// A number of exactly `digits` significant digits (0 gives zero).
Number makeNumber(std::mt19937 &rng, unsigned digits, Shape shape = Shape::Random)
{
    Number n;
    if (digits == 0)
        return n;
    for (unsigned i = 0; i < digits; ++i)
        n.d[i] = shape == Shape::SparseBits ? (rng() % 4 == 0 ? NN_DIGIT(1) << (rng() % 32) : 0) : rng();
    switch (shape) {
    case Shape::TopAllOnes:
        n.d[digits - 1] = 0xffffffffu;
        break;
    case Shape::TopOneBit:
        n.d[digits - 1] = 1;
        break;
    default:
        n.d[digits - 1] = nonZero(rng);
        break;
    }
    return n;
}

Bn bn(const Number &n, unsigned digits)
{
    return bnFromDigits(n.d, digits);
}

QByteArray hex(const BIGNUM *b)
{
    char *s = BN_bn2hex(b);
    QByteArray out(s);
    OPENSSL_free(s);
    return out;
}

QByteArray hex(const Number &n, unsigned digits)
{
    return hex(bn(n, digits).get());
}

// b mod 2^(32 digits), as a BIGNUM.
Bn truncated(const BIGNUM *b, unsigned digits)
{
    Bn out(BN_dup(b));
    BN_mask_bits(out.get(), int(digits * 32));
    return out;
}

} // namespace

Q_DECLARE_METATYPE(Shape)

class TestNn : public QObject
{
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
    void encode_data();
    void encode();
    void addAndSub_data();
    void addAndSub();
    void mult_data();
    void mult();
    void shifts();
    void shiftByThirtyTwoOrMoreDoesNothing();
    void div_data();
    void div();
    void divByZeroChangesNothing();
    void modMult();
    void modExp_data();
    void modExp();
    void modExpEdgeCases_data();
    void modExpEdgeCases();
    void modInv_data();
    void modInv();
    void gcd_data();
    void gcd();
    void cmpDigitsBits_data();
    void cmpDigitsBits();
    void assign2Exp_data();
    void assign2Exp();
    void digitMultAndDiv();
    void resultMayOverwriteOperand();
};

void TestNn::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<unsigned>("digits");
    QTest::addColumn<QList<quint32>>("expected");
    QTest::newRow("five bytes into two digits")
        << QByteArray::fromHex("0102030405") << 2u << QList<quint32>{0x02030405, 0x01};
    QTest::newRow("higher digits zero")
        << QByteArray::fromHex("ff") << 3u << QList<quint32>{0xff, 0, 0};
    QTest::newRow("leading zero bytes")
        << QByteArray::fromHex("00000000deadbeef") << 2u << QList<quint32>{0xdeadbeef, 0};
    QTest::newRow("bytes beyond the digits dropped")
        << QByteArray::fromHex("aa0102030405060708") << 2u << QList<quint32>{0x05060708, 0x01020304};
    QTest::newRow("no bytes") << QByteArray() << 2u << QList<quint32>{0, 0};
}

void TestNn::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(unsigned, digits);
    QFETCH(QList<quint32>, expected);

    NN_DIGIT a[8];
    std::memset(a, 0x5a, sizeof a);
    NN_Decode(a, digits, reinterpret_cast<const uint8_t *>(bytes.constData()), unsigned(bytes.size()));
    QList<quint32> actual(a, a + digits);
    QCOMPARE(actual, expected);
    QCOMPARE(a[digits], NN_DIGIT(0x5a5a5a5a));
}

void TestNn::encode_data()
{
    QTest::addColumn<QList<quint32>>("digits");
    QTest::addColumn<unsigned>("len");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("exact") << QList<quint32>{0x05060708, 0x01020304} << 8u
                           << QByteArray::fromHex("0102030405060708");
    QTest::newRow("leading zeros") << QList<quint32>{0xbeef} << 6u << QByteArray::fromHex("00000000beef");
    QTest::newRow("digits that do not fit dropped")
        << QList<quint32>{0x05060708, 0x01020304} << 3u << QByteArray::fromHex("060708");
    QTest::newRow("nothing") << QList<quint32>{0x12345678} << 0u << QByteArray();
}

void TestNn::encode()
{
    QFETCH(QList<quint32>, digits);
    QFETCH(unsigned, len);
    QFETCH(QByteArray, expected);

    QByteArray out(int(len) + 1, char(0x5a));
    std::vector<NN_DIGIT> in(digits.begin(), digits.end());
    NN_Encode(reinterpret_cast<uint8_t *>(out.data()), len, in.data(), unsigned(in.size()));
    QCOMPARE(out.left(int(len)).toHex(), expected.toHex());
    QCOMPARE(out.at(int(len)), char(0x5a));
}

void TestNn::addAndSub_data()
{
    QTest::addColumn<unsigned>("digits");
    QTest::addColumn<Shape>("shape");
    for (unsigned digits : {1u, 2u, 17u, 33u, 66u}) {
        QTest::addRow("%u digits, random", digits) << digits << Shape::Random;
        QTest::addRow("%u digits, top all ones", digits) << digits << Shape::TopAllOnes;
        QTest::addRow("%u digits, sparse", digits) << digits << Shape::SparseBits;
    }
}

void TestNn::addAndSub()
{
    QFETCH(unsigned, digits);
    QFETCH(Shape, shape);
    std::mt19937 rng(digits * 7 + unsigned(shape));
    for (int round = 0; round < 200; ++round) {
        const Number b = makeNumber(rng, digits, shape);
        const Number c = makeNumber(rng, 1 + rng() % digits, round % 2 ? Shape::TopAllOnes : shape);
        Bn bb = bn(b, digits), bc = bn(c, digits);

        Number sum;
        const NN_DIGIT carry = NN_Add(sum.d, b.d, c.d, digits);
        Bn expected = newBn();
        BN_add(expected.get(), bb.get(), bc.get());
        QCOMPARE(carry, NN_DIGIT(BN_num_bits(expected.get()) > int(32 * digits) ? 1 : 0));
        QCOMPARE(hex(sum, digits), hex(truncated(expected.get(), digits).get()));

        Number difference;
        const NN_DIGIT borrow = NN_Sub(difference.d, b.d, c.d, digits);
        QCOMPARE(borrow, NN_DIGIT(BN_cmp(bb.get(), bc.get()) < 0 ? 1 : 0));
        // b - c modulo 2^(32 digits): add the power before subtracting.
        Bn power = newBn();
        BN_set_bit(power.get(), int(32 * digits));
        BN_add(expected.get(), bb.get(), power.get());
        BN_sub(expected.get(), expected.get(), bc.get());
        QCOMPARE(hex(difference, digits), hex(truncated(expected.get(), digits).get()));
    }
}

void TestNn::mult_data()
{
    QTest::addColumn<unsigned>("digits");
    QTest::addColumn<Shape>("shape");
    for (unsigned digits : {1u, 2u, 5u, 16u, 32u, 33u}) {
        QTest::addRow("%u digits, random", digits) << digits << Shape::Random;
        QTest::addRow("%u digits, top all ones", digits) << digits << Shape::TopAllOnes;
        QTest::addRow("%u digits, sparse", digits) << digits << Shape::SparseBits;
    }
}

void TestNn::mult()
{
    QFETCH(unsigned, digits);
    QFETCH(Shape, shape);
    std::mt19937 rng(digits * 11 + unsigned(shape));
    opensslref::BnCtx ctx(BN_CTX_new());
    for (int round = 0; round < 200; ++round) {
        // Operands of any significant length up to the count, including zero.
        const Number b = makeNumber(rng, rng() % (digits + 1), shape);
        const Number c = makeNumber(rng, rng() % (digits + 1), shape);
        Number product;
        std::memset(product.d, 0x5a, sizeof product.d);
        NN_Mult(product.d, b.d, c.d, digits);

        Bn expected = newBn();
        BN_mul(expected.get(), bn(b, digits).get(), bn(c, digits).get(), ctx.get());
        QCOMPARE(hex(product, 2 * digits), hex(expected.get()));
        QCOMPARE(product.d[2 * digits], NN_DIGIT(0x5a5a5a5a));
    }
}

void TestNn::shifts()
{
    std::mt19937 rng(3);
    for (unsigned bits = 0; bits < 32; ++bits) {
        for (unsigned digits : {1u, 4u, 33u}) {
            const Number b = makeNumber(rng, digits);
            Bn bb = bn(b, digits);

            Number left;
            const NN_DIGIT outLeft = NN_LShift(left.d, b.d, bits, digits);
            Bn expected = newBn();
            BN_lshift(expected.get(), bb.get(), int(bits));
            QCOMPARE(hex(left, digits), hex(truncated(expected.get(), digits).get()));
            Bn carried = newBn();
            BN_rshift(carried.get(), expected.get(), int(32 * digits));
            QCOMPARE(outLeft, NN_DIGIT(BN_get_word(carried.get())));

            Number right;
            const NN_DIGIT outRight = NN_RShift(right.d, b.d, bits, digits);
            BN_rshift(expected.get(), bb.get(), int(bits));
            QCOMPARE(hex(right, digits), hex(expected.get()));
            // The bits shifted out come back at the top of a digit.
            const NN_DIGIT lowBits = bits ? b.d[0] & ((NN_DIGIT(1) << bits) - 1) : 0;
            QCOMPARE(outRight, bits ? lowBits << (32 - bits) : NN_DIGIT(0));
        }
    }
}

void TestNn::shiftByThirtyTwoOrMoreDoesNothing()
{
    const NN_DIGIT b[2] = {0x12345678, 0x9abcdef0};
    for (unsigned c : {32u, 33u, 1000u}) {
        NN_DIGIT a[2] = {0xaaaaaaaa, 0xbbbbbbbb};
        QCOMPARE(NN_LShift(a, b, c, 2), NN_DIGIT(0));
        QCOMPARE(a[0], NN_DIGIT(0xaaaaaaaa));
        QCOMPARE(NN_RShift(a, b, c, 2), NN_DIGIT(0));
        QCOMPARE(a[1], NN_DIGIT(0xbbbbbbbb));
    }
}

void TestNn::div_data()
{
    QTest::addColumn<unsigned>("cDigits");
    QTest::addColumn<unsigned>("dDigits");
    QTest::addColumn<Shape>("divisorShape");
    QTest::addColumn<unsigned>("declaredDigits");  // digits the divisor is passed with

    QTest::newRow("66 by 33, random") << 66u << 33u << Shape::Random << 33u;
    QTest::newRow("66 by 32, top all ones") << 66u << 32u << Shape::TopAllOnes << 33u;
    QTest::newRow("64 by 32, top one bit") << 64u << 32u << Shape::TopOneBit << 32u;
    QTest::newRow("33 by 16, random") << 33u << 16u << Shape::Random << 16u;
    QTest::newRow("33 by 16, top all ones") << 33u << 16u << Shape::TopAllOnes << 16u;
    QTest::newRow("20 by 1, random") << 20u << 1u << Shape::Random << 1u;
    QTest::newRow("20 by 1, all ones") << 20u << 1u << Shape::TopAllOnes << 1u;
    QTest::newRow("8 by 5, sparse") << 8u << 5u << Shape::SparseBits << 5u;
    QTest::newRow("2 by 2, random") << 2u << 2u << Shape::Random << 2u;
    QTest::newRow("3 by 10: dividend shorter") << 3u << 10u << Shape::Random << 10u;
    QTest::newRow("divisor with zero digits above it") << 30u << 7u << Shape::Random << 33u;
}

void TestNn::div()
{
    QFETCH(unsigned, cDigits);
    QFETCH(unsigned, dDigits);
    QFETCH(Shape, divisorShape);
    QFETCH(unsigned, declaredDigits);
    std::mt19937 rng(cDigits * 1000 + dDigits * 10 + unsigned(divisorShape));
    opensslref::BnCtx ctx(BN_CTX_new());

    for (int round = 0; round < 400; ++round) {
        // Dividends of every length up to cDigits, so the quotient has 0 to all digits.
        const Number c = makeNumber(rng, 1 + rng() % cDigits, round % 3 ? Shape::Random : Shape::TopAllOnes);
        const Number d = makeNumber(rng, dDigits, divisorShape);
        Number q, r;
        std::memset(q.d, 0x5a, sizeof q.d);
        std::memset(r.d, 0x5a, sizeof r.d);
        NN_Div(q.d, r.d, c.d, cDigits, d.d, declaredDigits);

        Bn eq = newBn(), er = newBn();
        BN_div(eq.get(), er.get(), bn(c, cDigits).get(), bn(d, dDigits).get(), ctx.get());
        QCOMPARE(hex(q, cDigits), hex(eq.get()));
        QCOMPARE(hex(r, declaredDigits), hex(er.get()));
        // Nothing written past either result.
        QCOMPARE(q.d[cDigits], NN_DIGIT(0x5a5a5a5a));
        QCOMPARE(r.d[declaredDigits], NN_DIGIT(0x5a5a5a5a));
    }
}

void TestNn::divByZeroChangesNothing()
{
    std::mt19937 rng(5);
    const Number c = makeNumber(rng, 10);
    const Number zero;
    for (unsigned dDigits : {0u, 1u, 33u}) {
        Number q, r;
        std::memset(q.d, 0x11, sizeof q.d);
        std::memset(r.d, 0x22, sizeof r.d);
        const Number qBefore = q, rBefore = r;
        NN_Div(q.d, r.d, c.d, 10, zero.d, dDigits);
        QVERIFY(std::memcmp(&q, &qBefore, sizeof q) == 0);
        QVERIFY(std::memcmp(&r, &rBefore, sizeof r) == 0);

        NN_Mod(r.d, c.d, 10, zero.d, dDigits);
        QVERIFY(std::memcmp(&r, &rBefore, sizeof r) == 0);
    }
}

void TestNn::modMult()
{
    std::mt19937 rng(9);
    opensslref::BnCtx ctx(BN_CTX_new());
    for (int round = 0; round < 1000; ++round) {
        const unsigned digits = 1 + rng() % MAX_NN_DIGITS;
        const Number d = makeNumber(rng, 1 + rng() % digits, round % 4 ? Shape::Random : Shape::TopAllOnes);
        const Number b = makeNumber(rng, 1 + rng() % digits);
        const Number c = makeNumber(rng, 1 + rng() % digits);
        Number a;
        NN_ModMult(a.d, b.d, c.d, d.d, digits);

        Bn expected = newBn();
        BN_mod_mul(expected.get(), bn(b, digits).get(), bn(c, digits).get(), bn(d, digits).get(), ctx.get());
        QCOMPARE(hex(a, digits), hex(expected.get()));
    }
}

void TestNn::modExp_data()
{
    QTest::addColumn<unsigned>("dDigits");
    QTest::addColumn<unsigned>("cDigits");
    QTest::addColumn<Shape>("modulusShape");
    QTest::addColumn<int>("rounds");
    QTest::newRow("1024-bit modulus, 65537") << 32u << 0u << Shape::Random << 100;
    QTest::newRow("1024-bit modulus, full exponent") << 32u << 32u << Shape::Random << 100;
    QTest::newRow("1056-bit modulus, top all ones") << 33u << 4u << Shape::TopAllOnes << 60;
    QTest::newRow("512-bit modulus, full exponent") << 16u << 16u << Shape::Random << 150;
    QTest::newRow("209-bit modulus") << 7u << 7u << Shape::TopOneBit << 400;
    QTest::newRow("one digit") << 1u << 1u << Shape::Random << 2000;
    QTest::newRow("one digit, all ones") << 1u << 2u << Shape::TopAllOnes << 1000;
    QTest::newRow("sparse modulus and exponent") << 12u << 12u << Shape::SparseBits << 300;
}

void TestNn::modExp()
{
    QFETCH(unsigned, dDigits);
    QFETCH(unsigned, cDigits);
    QFETCH(Shape, modulusShape);
    QFETCH(int, rounds);
    std::mt19937 rng(dDigits * 100 + cDigits + unsigned(modulusShape));
    opensslref::BnCtx ctx(BN_CTX_new());

    for (int round = 0; round < rounds; ++round) {
        const Number d = makeNumber(rng, dDigits, modulusShape);
        // Bases below and above the modulus (they have dDigits digits either way).
        const Number b = makeNumber(rng, 1 + rng() % dDigits);
        Number c;
        unsigned expDigits = cDigits;
        if (cDigits == 0) {
            c.d[0] = 65537;
            expDigits = 1;
        } else {
            c = makeNumber(rng, 1 + rng() % cDigits, modulusShape == Shape::SparseBits ? Shape::SparseBits : Shape::Random);
        }
        Number a;
        std::memset(a.d, 0x5a, sizeof a.d);
        NN_ModExp(a.d, b.d, c.d, expDigits, d.d, dDigits);

        Bn expected = newBn();
        BN_mod_exp(expected.get(), bn(b, dDigits).get(), bn(c, expDigits).get(), bn(d, dDigits).get(), ctx.get());
        QCOMPARE(hex(a, dDigits), hex(expected.get()));
        QCOMPARE(a.d[dDigits], NN_DIGIT(0x5a5a5a5a));
    }
}

void TestNn::modExpEdgeCases_data()
{
    QTest::addColumn<quint32>("base");
    QTest::addColumn<quint32>("exponent");
    QTest::addColumn<quint32>("modulus");
    QTest::addColumn<quint32>("expected");
    QTest::newRow("zero exponent") << 5u << 0u << 7u << 1u;
    QTest::newRow("zero exponent, modulus 1") << 5u << 0u << 1u << 0u;
    QTest::newRow("modulus 1") << 5u << 3u << 1u << 0u;
    QTest::newRow("zero base") << 0u << 9u << 7u << 0u;
    QTest::newRow("base equal to the modulus") << 7u << 2u << 7u << 0u;
    QTest::newRow("base above the modulus") << 10u << 3u << 7u << 6u;  // 3^3 = 27 = 6 mod 7
}

void TestNn::modExpEdgeCases()
{
    QFETCH(quint32, base);
    QFETCH(quint32, exponent);
    QFETCH(quint32, modulus);
    QFETCH(quint32, expected);
    opensslref::BnCtx ctx(BN_CTX_new());
    const NN_DIGIT b[1] = {base}, c[1] = {exponent}, d[1] = {modulus};
    NN_DIGIT a[1] = {0x5a5a5a5a};
    NN_ModExp(a, b, c, 1, d, 1);

    Bn reference = newBn();
    BN_mod_exp(reference.get(), bnFromDigits(b, 1).get(), bnFromDigits(c, 1).get(),
               bnFromDigits(d, 1).get(), ctx.get());
    QCOMPARE(quint32(a[0]), quint32(BN_get_word(reference.get())));
    QCOMPARE(quint32(a[0]), expected);
}

void TestNn::modInv_data()
{
    QTest::addColumn<unsigned>("digits");
    for (unsigned digits : {1u, 2u, 7u, 16u, 32u, 33u})
        QTest::addRow("%u digits", digits) << digits;
}

void TestNn::modInv()
{
    QFETCH(unsigned, digits);
    std::mt19937 rng(digits + 77);
    opensslref::BnCtx ctx(BN_CTX_new());
    int checked = 0;
    for (int round = 0; checked < 150 && round < 2000; ++round) {
        const Number c = makeNumber(rng, digits, round % 5 ? Shape::Random : Shape::TopAllOnes);
        Number b = makeNumber(rng, 1 + rng() % digits);
        Bn bc = bn(c, digits), bb = bn(b, digits);
        // Only residues that have an inverse, and below the modulus.
        BN_mod(bb.get(), bb.get(), bc.get(), ctx.get());
        Bn expected(BN_mod_inverse(nullptr, bb.get(), bc.get(), ctx.get()));
        ERR_clear_error();
        if (!expected || BN_is_one(bc.get()))
            continue;
        QVERIFY(digitsFromBn(bb.get(), b.d, digits));

        Number a;
        NN_ModInv(a.d, b.d, c.d, digits);
        QCOMPARE(hex(a, digits), hex(expected.get()));
        ++checked;
    }
    QCOMPARE(checked, 150);
}

void TestNn::gcd_data()
{
    QTest::addColumn<unsigned>("digits");
    for (unsigned digits : {1u, 3u, 16u, 33u})
        QTest::addRow("%u digits", digits) << digits;
}

void TestNn::gcd()
{
    QFETCH(unsigned, digits);
    std::mt19937 rng(digits + 99);
    opensslref::BnCtx ctx(BN_CTX_new());
    for (int round = 0; round < 300; ++round) {
        Number b = makeNumber(rng, rng() % (digits + 1));
        Number c = makeNumber(rng, rng() % (digits + 1));
        if (round % 2 && digits > 1) {
            // A large common factor, so the answer is more than 1.
            const unsigned f = 1 + rng() % (digits / 2);
            const Number factor = makeNumber(rng, f);
            const Number x = makeNumber(rng, 1 + rng() % (digits - f));
            const Number y = makeNumber(rng, 1 + rng() % (digits - f));
            Number wide;
            NN_Mult(wide.d, factor.d, x.d, digits);
            NN_Assign(b.d, wide.d, digits);
            NN_Mult(wide.d, factor.d, y.d, digits);
            NN_Assign(c.d, wide.d, digits);
        }
        Number a;
        NN_Gcd(a.d, b.d, c.d, digits);
        Bn expected = newBn();
        BN_gcd(expected.get(), bn(b, digits).get(), bn(c, digits).get(), ctx.get());
        QCOMPARE(hex(a, digits), hex(expected.get()));
    }
}

void TestNn::cmpDigitsBits_data()
{
    QTest::addColumn<QList<quint32>>("a");
    QTest::addColumn<QList<quint32>>("b");
    QTest::addColumn<int>("cmp");
    QTest::addColumn<unsigned>("aDigits");
    QTest::addColumn<unsigned>("aBits");
    QTest::addColumn<int>("aZero");
    QTest::newRow("equal zeros") << QList<quint32>{0, 0, 0} << QList<quint32>{0, 0, 0} << 0 << 0u << 0u << 1;
    QTest::newRow("top digit decides") << QList<quint32>{0, 0, 1} << QList<quint32>{0xffffffff, 0xffffffff, 0}
                                       << 1 << 3u << 65u << 0;
    QTest::newRow("lower digit decides") << QList<quint32>{5, 7, 0} << QList<quint32>{6, 7, 0} << -1 << 2u << 35u << 0;
    QTest::newRow("unsigned, not signed") << QList<quint32>{0x80000000} << QList<quint32>{0x7fffffff} << 1 << 1u << 32u << 0;
    QTest::newRow("one") << QList<quint32>{1, 0} << QList<quint32>{1, 0} << 0 << 1u << 1u << 0;
}

void TestNn::cmpDigitsBits()
{
    QFETCH(QList<quint32>, a);
    QFETCH(QList<quint32>, b);
    QFETCH(int, cmp);
    QFETCH(unsigned, aDigits);
    QFETCH(unsigned, aBits);
    QFETCH(int, aZero);
    std::vector<NN_DIGIT> va(a.begin(), a.end()), vb(b.begin(), b.end());
    const unsigned n = unsigned(va.size());
    QCOMPARE(NN_Cmp(va.data(), vb.data(), n), cmp);
    QCOMPARE(NN_Cmp(vb.data(), va.data(), n), -cmp);
    QCOMPARE(NN_Digits(va.data(), n), aDigits);
    QCOMPARE(NN_Bits(va.data(), n), aBits);
    QCOMPARE(NN_Zero(va.data(), n), aZero);
}

void TestNn::assign2Exp_data()
{
    QTest::addColumn<unsigned>("k");
    QTest::addColumn<unsigned>("digits");
    QTest::addColumn<QList<quint32>>("expected");
    QTest::newRow("2^0") << 0u << 2u << QList<quint32>{1, 0};
    QTest::newRow("2^31") << 31u << 2u << QList<quint32>{0x80000000, 0};
    QTest::newRow("2^32") << 32u << 2u << QList<quint32>{0, 1};
    QTest::newRow("2^63") << 63u << 2u << QList<quint32>{0, 0x80000000};
    QTest::newRow("2^64 beyond two digits") << 64u << 2u << QList<quint32>{0, 0};
}

void TestNn::assign2Exp()
{
    QFETCH(unsigned, k);
    QFETCH(unsigned, digits);
    QFETCH(QList<quint32>, expected);
    NN_DIGIT a[4] = {7, 7, 7, 7};
    NN_Assign2Exp(a, k, digits);
    QCOMPARE(QList<quint32>(a, a + digits), expected);
    QCOMPARE(a[digits], NN_DIGIT(7));
}

void TestNn::digitMultAndDiv()
{
    std::mt19937 rng(11);
    for (int round = 0; round < 20000; ++round) {
        const NN_DIGIT b = round < 4 ? 0xffffffffu : rng();
        const NN_DIGIT c = round < 2 ? 0xffffffffu : rng();
        NN_DIGIT product[2];
        NN_DigitMult(product, b, c);
        const unsigned __int128 p = (unsigned __int128)b * c;
        QCOMPARE(product[0], NN_DIGIT(p));
        QCOMPARE(product[1], NN_DIGIT(p >> 32));

        const NN_DIGIT divisor = rng() | 0x80000000u;
        const NN_DIGIT dividend[2] = {NN_DIGIT(rng()), NN_DIGIT(round % 3 ? rng() % divisor : divisor - 1)};
        NN_DIGIT quotient;
        NN_DigitDiv(&quotient, dividend, divisor);
        const unsigned __int128 n = (unsigned __int128)dividend[1] << 32 | dividend[0];
        QCOMPARE(quotient, NN_DIGIT(n / divisor));
    }
}

void TestNn::resultMayOverwriteOperand()
{
    std::mt19937 rng(13);
    opensslref::BnCtx ctx(BN_CTX_new());
    const unsigned digits = 16;
    const Number d = makeNumber(rng, digits);
    const Number c = makeNumber(rng, 4);
    Number b = makeNumber(rng, digits);
    Bn expected = newBn();

    BN_mod_exp(expected.get(), bn(b, digits).get(), bn(c, 4).get(), bn(d, digits).get(), ctx.get());
    NN_ModExp(b.d, b.d, c.d, 4, d.d, digits);
    QCOMPARE(hex(b, digits), hex(expected.get()));

    BN_mod_mul(expected.get(), bn(b, digits).get(), bn(b, digits).get(), bn(d, digits).get(), ctx.get());
    NN_ModMult(b.d, b.d, b.d, d.d, digits);
    QCOMPARE(hex(b, digits), hex(expected.get()));

    Number q = makeNumber(rng, 2 * digits);
    Bn bq = bn(q, 2 * digits);
    BN_mod(expected.get(), bq.get(), bn(d, digits).get(), ctx.get());
    Number quotient;
    NN_Div(quotient.d, q.d, q.d, 2 * digits, d.d, digits);
    QCOMPARE(hex(q, digits), hex(expected.get()));
}

QTEST_APPLESS_MAIN(TestNn)
#include "tst_nn.moc"
