#include "nn.h"
#include "opensslref.h"

#include <QTest>

#include <openssl/err.h>

#include <algorithm>
#include <cstring>

using opensslref::Bn;
using opensslref::bnFromDigits;
using opensslref::newBn;

namespace {

constexpr NN_DIGIT kGuard = 0x5a5a5a5a;

// Operand shapes for the random tests.
enum class Shape {
    Random,      // every digit random, the top one non-zero
    TopAllOnes,  // top digit 0xffffffff (no normalising shift)
    TopOneBit,   // top digit 1 (normalising shift of 31)
    SparseBits,  // few bits set: many zero digits inside
};

struct Number
{
    // One spare digit, filled with kGuard, shows a write past a result.
    NN_DIGIT d[2 * MAX_NN_DIGITS + 1] = {};
    static Number guarded()
    {
        Number n;
        std::fill(std::begin(n.d), std::end(n.d), kGuard);
        return n;
    }
    bool untouched() const
    {
        return std::all_of(std::begin(d), std::end(d), [](NN_DIGIT x) { return x == kGuard; });
    }
};

// A number of exactly `digits` significant digits (0 gives zero).
Number makeNumber(std::mt19937 &rng, unsigned digits, Shape shape = Shape::Random)
{
    Number n;
    for (unsigned i = 0; i < digits; ++i)
        n.d[i] = shape == Shape::SparseBits ? (rng() % 4 == 0 ? NN_DIGIT(1) << (rng() % 32) : 0) : rng();
    if (digits == 0)
        return n;
    NN_DIGIT &top = n.d[digits - 1];
    if (shape == Shape::TopAllOnes)
        top = 0xffffffffu;
    else if (shape == Shape::TopOneBit)
        top = 1;
    else
        while (top == 0)
            top = rng();
    return n;
}

Bn bn(const Number &n, unsigned digits) { return bnFromDigits(n.d, digits); }

QByteArray hex(const BIGNUM *b)
{
    char *s = BN_bn2hex(b);
    QByteArray out(s);
    OPENSSL_free(s);
    return out;
}

QByteArray hex(const Number &n, unsigned digits) { return hex(bn(n, digits).get()); }

// b mod 2^(32 digits).
QByteArray truncatedHex(const BIGNUM *b, unsigned digits)
{
    Bn out(BN_dup(b));
    BN_mask_bits(out.get(), int(digits * 32));
    return hex(out.get());
}

} // namespace

Q_DECLARE_METATYPE(Shape)

class TestNn : public QObject
{
    Q_OBJECT

private slots:
    void addSubMultShift_data()
    {
        QTest::addColumn<unsigned>("digits");
        QTest::addColumn<Shape>("shape");
        QTest::newRow("1 digit, random") << 1u << Shape::Random;
        QTest::newRow("33 digits, top all ones") << 33u << Shape::TopAllOnes;
        QTest::newRow("66 digits, add and subtract") << 66u << Shape::Random;
    }

    void addSubMultShift()
    {
        QFETCH(unsigned, digits);
        QFETCH(Shape, shape);
        std::mt19937 rng(digits * 7 + unsigned(shape));
        opensslref::BnCtx ctx(BN_CTX_new());
        Bn power = newBn();
        BN_set_bit(power.get(), int(32 * digits));
        for (int round = 0; round < 200; ++round) {
            // Operands of any significant length up to the count, zero and all ones included.
            const Number b = makeNumber(rng, rng() % (digits + 1), shape);
            const Number c = makeNumber(rng, rng() % (digits + 1), round % 2 ? Shape::TopAllOnes : shape);
            Bn bb = bn(b, digits), bc = bn(c, digits), expected = newBn();

            Number sum;
            const NN_DIGIT carry = NN_Add(sum.d, b.d, c.d, digits);
            BN_add(expected.get(), bb.get(), bc.get());
            QCOMPARE(carry, NN_DIGIT(BN_num_bits(expected.get()) > int(32 * digits) ? 1 : 0));
            QCOMPARE(hex(sum, digits), truncatedHex(expected.get(), digits));

            Number difference;
            const NN_DIGIT borrow = NN_Sub(difference.d, b.d, c.d, digits);
            QCOMPARE(borrow, NN_DIGIT(BN_cmp(bb.get(), bc.get()) < 0 ? 1 : 0));
            BN_add(expected.get(), bb.get(), power.get());
            BN_sub(expected.get(), expected.get(), bc.get());
            QCOMPARE(hex(difference, digits), truncatedHex(expected.get(), digits));

            // Shifts by every count below 32; the bits shifted out come back in a digit.
            const unsigned bits = unsigned(round % 32);
            Number left, right;
            const NN_DIGIT outLeft = NN_LShift(left.d, b.d, bits, digits);
            BN_lshift(expected.get(), bb.get(), int(bits));
            QCOMPARE(hex(left, digits), truncatedHex(expected.get(), digits));
            BN_rshift(expected.get(), expected.get(), int(32 * digits));
            QCOMPARE(outLeft, NN_DIGIT(BN_get_word(expected.get())));
            const NN_DIGIT outRight = NN_RShift(right.d, b.d, bits, digits);
            BN_rshift(expected.get(), bb.get(), int(bits));
            QCOMPARE(hex(right, digits), hex(expected.get()));
            QCOMPARE(outRight, bits ? b.d[0] << (32 - bits) : NN_DIGIT(0));

            if (2 * digits > 2 * MAX_NN_DIGITS)
                continue;
            Number product = Number::guarded();
            NN_Mult(product.d, b.d, c.d, digits);
            BN_mul(expected.get(), bb.get(), bc.get(), ctx.get());
            QCOMPARE(hex(product, 2 * digits), hex(expected.get()));
            QCOMPARE(product.d[2 * digits], kGuard);
        }
    }

    void div_data()
    {
        QTest::addColumn<unsigned>("cDigits");
        QTest::addColumn<unsigned>("dDigits");
        QTest::addColumn<Shape>("divisorShape");
        QTest::addColumn<unsigned>("declaredDigits");  // digits the divisor is passed with
        QTest::newRow("66 by 32, top all ones") << 66u << 32u << Shape::TopAllOnes << 33u;
        QTest::newRow("64 by 32, top one bit") << 64u << 32u << Shape::TopOneBit << 32u;
        QTest::newRow("8 by 5, sparse") << 8u << 5u << Shape::SparseBits << 5u;
        QTest::newRow("3 by 10: dividend shorter") << 3u << 10u << Shape::Random << 10u;
        QTest::newRow("divisor with zero digits above it") << 30u << 7u << Shape::Random << 33u;
        QTest::newRow("zero divisor") << 10u << 0u << Shape::Random << 33u;
    }

    void div()
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
            Number q = Number::guarded(), r = Number::guarded();
            NN_Div(q.d, r.d, c.d, cDigits, d.d, declaredDigits);
            if (dDigits == 0) {  // a zero divisor: nothing is written
                NN_Mod(r.d, c.d, cDigits, d.d, declaredDigits);
                QVERIFY(q.untouched() && r.untouched());
                continue;
            }
            Bn eq = newBn(), er = newBn();
            BN_div(eq.get(), er.get(), bn(c, cDigits).get(), bn(d, dDigits).get(), ctx.get());
            QCOMPARE(hex(q, cDigits), hex(eq.get()));
            QCOMPARE(hex(r, declaredDigits), hex(er.get()));
            QCOMPARE(q.d[cDigits], kGuard);
            QCOMPARE(r.d[declaredDigits], kGuard);
        }
    }

    void modExp_data()
    {
        QTest::addColumn<unsigned>("dDigits");
        QTest::addColumn<unsigned>("cDigits");
        QTest::addColumn<Shape>("modulusShape");
        QTest::addColumn<int>("rounds");
        QTest::newRow("1024-bit modulus, full exponent") << 32u << 32u << Shape::Random << 30;
        QTest::newRow("1056-bit modulus, top all ones") << 33u << 4u << Shape::TopAllOnes << 60;
        QTest::newRow("209-bit modulus") << 7u << 7u << Shape::TopOneBit << 300;
        QTest::newRow("one digit, all ones") << 1u << 2u << Shape::TopAllOnes << 1000;
    }

    void modExp()
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
            const Number c = makeNumber(rng, 1 + rng() % cDigits);
            Number a = Number::guarded();
            NN_ModExp(a.d, b.d, c.d, cDigits, d.d, dDigits);
            Bn expected = newBn();
            BN_mod_exp(expected.get(), bn(b, dDigits).get(), bn(c, cDigits).get(), bn(d, dDigits).get(), ctx.get());
            QCOMPARE(hex(a, dDigits), hex(expected.get()));
            QCOMPARE(a.d[dDigits], kGuard);
        }
    }

    void gcdAndModInv_data()
    {
        QTest::addColumn<unsigned>("digits");
        for (unsigned digits : {1u, 7u, 33u})
            QTest::addRow("%u digits", digits) << digits;
    }

    void gcdAndModInv()
    {
        QFETCH(unsigned, digits);
        std::mt19937 rng(digits + 77);
        opensslref::BnCtx ctx(BN_CTX_new());
        int inverted = 0;
        for (int round = 0; round < 400; ++round) {
            Number b = makeNumber(rng, rng() % (digits + 1));
            Number c = makeNumber(rng, 1 + rng() % digits, round % 5 ? Shape::Random : Shape::TopAllOnes);
            if (round % 3 == 0 && digits > 1) {
                // A large common factor, so the divisor is more than 1.
                const unsigned f = 1 + rng() % (digits / 2);
                const Number factor = makeNumber(rng, f);
                NN_Mult(b.d, factor.d, makeNumber(rng, 1 + rng() % (digits - f)).d, digits);
                NN_Mult(c.d, factor.d, makeNumber(rng, 1 + rng() % (digits - f)).d, digits);
            }
            Bn bb = bn(b, digits), bc = bn(c, digits), expected = newBn();
            Number a;
            NN_Gcd(a.d, b.d, c.d, digits);
            BN_gcd(expected.get(), bb.get(), bc.get(), ctx.get());
            QCOMPARE(hex(a, digits), hex(expected.get()));

            // The inverse of the residue below c, where there is one.
            BN_mod(bb.get(), bb.get(), bc.get(), ctx.get());
            Bn inverse(BN_mod_inverse(nullptr, bb.get(), bc.get(), ctx.get()));
            ERR_clear_error();
            if (!inverse || BN_is_one(bc.get()))
                continue;
            QVERIFY(opensslref::digitsFromBn(bb.get(), b.d, digits));
            NN_ModInv(a.d, b.d, c.d, digits);
            QCOMPARE(hex(a, digits), hex(inverse.get()));
            ++inverted;
        }
        QVERIFY(inverted > 100);
    }

    void singleDigitsAndEdges()
    {
        // Bytes are big-endian: what does not fit is dropped, missing digits are zero.
        Number n = Number::guarded();
        NN_Decode(n.d, 2, opensslref::u8(QByteArray::fromHex("aa0102030405060708")), 9);
        QCOMPARE(QList<quint32>(n.d, n.d + 3), QList<quint32>({0x05060708, 0x01020304, kGuard}));
        NN_Decode(n.d, 3, opensslref::u8(QByteArray::fromHex("ff")), 1);
        QCOMPARE(QList<quint32>(n.d, n.d + 3), QList<quint32>({0xff, 0, 0}));
        QByteArray bytes(7, char(0x5a));
        NN_Encode(opensslref::u8(bytes), 6, n.d, 3);
        QCOMPARE(bytes.toHex(), QByteArray("0000000000ff5a"));
        NN_Encode(opensslref::u8(bytes), 2, QList<NN_DIGIT>({0x01020304}).constData(), 1);
        QCOMPARE(bytes.toHex(), QByteArray("0304000000ff5a"));

        NN_DIGIT pair[3] = {7, 7, 7};
        NN_DigitMult(pair, 0xffffffffu, 0xffffffffu);
        QCOMPARE(QList<quint32>(pair, pair + 2), QList<quint32>({1, 0xfffffffe}));
        const NN_DIGIT dividend[2] = {0xffffffffu, 0x7fffffffu};
        NN_DIGIT quotient = 0;
        NN_DigitDiv(&quotient, dividend, 0x80000000u);
        QCOMPARE(quotient, NN_DIGIT(0xffffffffu));
        NN_Assign2Exp(pair, 63, 2);
        QCOMPARE(QList<quint32>(pair, pair + 3), QList<quint32>({0, 0x80000000, 7}));
        NN_Assign2Exp(pair, 64, 2);  // beyond the digits
        QCOMPARE(QList<quint32>(pair, pair + 3), QList<quint32>({0, 0, 7}));

        // Shifts by 32 or more do nothing and return 0.
        NN_DIGIT a[2] = {1, 2};
        QCOMPARE(NN_LShift(a, dividend, 32, 2) + NN_RShift(a, dividend, 1000, 2), NN_DIGIT(0));
        QCOMPARE(QList<quint32>(a, a + 2), QList<quint32>({1, 2}));

        const NN_DIGIT x[3] = {0, 0, 1}, y[3] = {0xffffffff, 0xffffffff, 0}, zero[3] = {};
        QCOMPARE(NN_Cmp(x, y, 3), 1);  // the top digit decides, digits compare unsigned
        QCOMPARE(NN_Cmp(y, x, 3), -1);
        QCOMPARE(NN_Cmp(zero, zero, 3), 0);
        QCOMPARE(QList<unsigned>({NN_Digits(x, 3), NN_Bits(x, 3), NN_Digits(y, 3), NN_Bits(y, 3), NN_Bits(zero, 3)}),
                 QList<unsigned>({3, 65, 2, 64, 0}));
        QCOMPARE(NN_Zero(zero, 3) * 10 + NN_Zero(x, 3), 10);

        auto modExp = [](NN_DIGIT b, NN_DIGIT c, NN_DIGIT d) {
            NN_DIGIT result = kGuard;
            NN_ModExp(&result, &b, &c, 1, &d, 1);
            return result;
        };
        QCOMPARE(modExp(5, 0, 7), NN_DIGIT(1));
        QCOMPARE(modExp(5, 0, 1), NN_DIGIT(0));  // 1 mod 1
        QCOMPARE(modExp(10, 3, 7), NN_DIGIT(6));  // a base above the modulus
    }
};

QTEST_APPLESS_MAIN(TestNn)
#include "tst_nn.moc"
