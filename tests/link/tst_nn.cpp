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
    void decodeEncode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<quint32>>("digits");  // bytes decoded into this many digits
        QTest::addColumn<QByteArray>("encoded");     // those digits encoded into this many bytes
        QTest::newRow("round trip") << QByteArray::fromHex("0102030405")
                                    << QList<quint32>{0x02030405, 0x01} << QByteArray::fromHex("0102030405");
        QTest::newRow("zeros above, leading zeros")
            << QByteArray::fromHex("ff") << QList<quint32>{0xff, 0, 0} << QByteArray::fromHex("0000000000ff");
        QTest::newRow("what does not fit is dropped") << QByteArray::fromHex("aa0102030405060708")
                                                      << QList<quint32>{0x05060708, 0x01020304}
                                                      << QByteArray::fromHex("060708");
        QTest::newRow("nothing") << QByteArray() << QList<quint32>{0, 0} << QByteArray();
    }

    void decodeEncode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<quint32>, digits);
        QFETCH(QByteArray, encoded);
        const unsigned count = unsigned(digits.size());

        Number a = Number::guarded();
        NN_Decode(a.d, count, opensslref::u8(bytes), unsigned(bytes.size()));
        QCOMPARE(QList<quint32>(a.d, a.d + count), digits);
        QCOMPARE(a.d[count], kGuard);

        QByteArray out(encoded.size() + 1, char(0x5a));
        NN_Encode(opensslref::u8(out), unsigned(encoded.size()), a.d, count);
        QCOMPARE(out.toHex(), (encoded + char(0x5a)).toHex());
    }

    void addSubMult_data()
    {
        QTest::addColumn<unsigned>("digits");
        QTest::addColumn<Shape>("shape");
        for (unsigned digits : {1u, 5u, 33u}) {
            QTest::addRow("%u digits, random", digits) << digits << Shape::Random;
            QTest::addRow("%u digits, top all ones", digits) << digits << Shape::TopAllOnes;
        }
        QTest::newRow("66 digits, add and subtract") << 66u << Shape::Random;
    }

    void addSubMult()
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

            if (2 * digits > 2 * MAX_NN_DIGITS)
                continue;
            Number product = Number::guarded();
            NN_Mult(product.d, b.d, c.d, digits);
            BN_mul(expected.get(), bb.get(), bc.get(), ctx.get());
            QCOMPARE(hex(product, 2 * digits), hex(expected.get()));
            QCOMPARE(product.d[2 * digits], kGuard);
        }
    }

    void shifts()
    {
        std::mt19937 rng(3);
        for (unsigned bits = 0; bits < 32; ++bits) {
            for (unsigned digits : {1u, 33u}) {
                const Number b = makeNumber(rng, digits);
                Bn bb = bn(b, digits), expected = newBn(), carried = newBn();

                Number left;
                const NN_DIGIT outLeft = NN_LShift(left.d, b.d, bits, digits);
                BN_lshift(expected.get(), bb.get(), int(bits));
                QCOMPARE(hex(left, digits), truncatedHex(expected.get(), digits));
                BN_rshift(carried.get(), expected.get(), int(32 * digits));
                QCOMPARE(outLeft, NN_DIGIT(BN_get_word(carried.get())));

                Number right;
                const NN_DIGIT outRight = NN_RShift(right.d, b.d, bits, digits);
                BN_rshift(expected.get(), bb.get(), int(bits));
                QCOMPARE(hex(right, digits), hex(expected.get()));
                // The bits shifted out come back at the top of a digit.
                QCOMPARE(outRight, bits ? b.d[0] << (32 - bits) : NN_DIGIT(0));
            }
        }

        // 32 or more does nothing and returns 0.
        const NN_DIGIT b[2] = {0x12345678, 0x9abcdef0};
        for (unsigned c : {32u, 1000u}) {
            NN_DIGIT a[2] = {1, 2};
            QCOMPARE(NN_LShift(a, b, c, 2), NN_DIGIT(0));
            QCOMPARE(NN_RShift(a, b, c, 2), NN_DIGIT(0));
            QCOMPARE(a[0] + a[1], NN_DIGIT(3));
        }
    }

    void div_data()
    {
        QTest::addColumn<unsigned>("cDigits");
        QTest::addColumn<unsigned>("dDigits");
        QTest::addColumn<Shape>("divisorShape");
        QTest::addColumn<unsigned>("declaredDigits");  // digits the divisor is passed with

        QTest::newRow("66 by 33, random") << 66u << 33u << Shape::Random << 33u;
        QTest::newRow("66 by 32, top all ones") << 66u << 32u << Shape::TopAllOnes << 33u;
        QTest::newRow("64 by 32, top one bit") << 64u << 32u << Shape::TopOneBit << 32u;
        QTest::newRow("20 by 1, all ones") << 20u << 1u << Shape::TopAllOnes << 1u;
        QTest::newRow("8 by 5, sparse") << 8u << 5u << Shape::SparseBits << 5u;
        QTest::newRow("3 by 10: dividend shorter") << 3u << 10u << Shape::Random << 10u;
        QTest::newRow("divisor with zero digits above it") << 30u << 7u << Shape::Random << 33u;
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

            Bn eq = newBn(), er = newBn();
            BN_div(eq.get(), er.get(), bn(c, cDigits).get(), bn(d, dDigits).get(), ctx.get());
            QCOMPARE(hex(q, cDigits), hex(eq.get()));
            QCOMPARE(hex(r, declaredDigits), hex(er.get()));
            QCOMPARE(q.d[cDigits], kGuard);
            QCOMPARE(r.d[declaredDigits], kGuard);
        }
    }

    void divByZeroChangesNothing()
    {
        std::mt19937 rng(5);
        const Number c = makeNumber(rng, 10);
        const Number zero;
        for (unsigned dDigits : {0u, 1u, 33u}) {
            Number q = Number::guarded(), r = Number::guarded();
            NN_Div(q.d, r.d, c.d, 10, zero.d, dDigits);
            NN_Mod(r.d, c.d, 10, zero.d, dDigits);
            QVERIFY(std::all_of(std::begin(q.d), std::end(q.d), [](NN_DIGIT x) { return x == kGuard; }));
            QVERIFY(std::all_of(std::begin(r.d), std::end(r.d), [](NN_DIGIT x) { return x == kGuard; }));
        }
    }

    void modExp_data()
    {
        QTest::addColumn<unsigned>("dDigits");
        QTest::addColumn<unsigned>("cDigits");  // 0: the exponent 65537
        QTest::addColumn<Shape>("modulusShape");
        QTest::addColumn<int>("rounds");
        QTest::newRow("1024-bit modulus, 65537") << 32u << 0u << Shape::Random << 100;
        QTest::newRow("1024-bit modulus, full exponent") << 32u << 32u << Shape::Random << 60;
        QTest::newRow("1056-bit modulus, top all ones") << 33u << 4u << Shape::TopAllOnes << 60;
        QTest::newRow("209-bit modulus") << 7u << 7u << Shape::TopOneBit << 300;
        QTest::newRow("one digit, all ones") << 1u << 2u << Shape::TopAllOnes << 1000;
        QTest::newRow("sparse modulus and exponent") << 12u << 12u << Shape::SparseBits << 300;
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
            Number c;
            c.d[0] = 65537;
            const unsigned expDigits = cDigits ? cDigits : 1;
            if (cDigits)
                c = makeNumber(rng, 1 + rng() % cDigits, modulusShape == Shape::SparseBits ? Shape::SparseBits : Shape::Random);
            Number a = Number::guarded();
            NN_ModExp(a.d, b.d, c.d, expDigits, d.d, dDigits);

            Bn expected = newBn();
            BN_mod_exp(expected.get(), bn(b, dDigits).get(), bn(c, expDigits).get(), bn(d, dDigits).get(), ctx.get());
            QCOMPARE(hex(a, dDigits), hex(expected.get()));
            QCOMPARE(a.d[dDigits], kGuard);
        }
    }

    void modExpEdgeCases_data()
    {
        QTest::addColumn<quint32>("base");
        QTest::addColumn<quint32>("exponent");
        QTest::addColumn<quint32>("modulus");
        QTest::addColumn<quint32>("expected");
        QTest::newRow("zero exponent") << 5u << 0u << 7u << 1u;
        QTest::newRow("zero exponent, modulus 1") << 5u << 0u << 1u << 0u;
        QTest::newRow("modulus 1") << 5u << 3u << 1u << 0u;
        QTest::newRow("zero base") << 0u << 9u << 7u << 0u;
        QTest::newRow("base above the modulus") << 10u << 3u << 7u << 6u;  // 3^3 = 27 = 6 mod 7
    }

    void modExpEdgeCases()
    {
        QFETCH(quint32, base);
        QFETCH(quint32, exponent);
        QFETCH(quint32, modulus);
        QFETCH(quint32, expected);
        const NN_DIGIT b[1] = {base}, c[1] = {exponent}, d[1] = {modulus};
        NN_DIGIT a[1] = {kGuard};
        NN_ModExp(a, b, c, 1, d, 1);
        QCOMPARE(quint32(a[0]), expected);
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

    void cmpDigitsBits_data()
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
    }

    void cmpDigitsBits()
    {
        QFETCH(QList<quint32>, a);
        QFETCH(QList<quint32>, b);
        QFETCH(int, cmp);
        QFETCH(unsigned, aDigits);
        QFETCH(unsigned, aBits);
        QFETCH(int, aZero);
        const unsigned n = unsigned(a.size());
        QCOMPARE(NN_Cmp(a.constData(), b.constData(), n), cmp);
        QCOMPARE(NN_Cmp(b.constData(), a.constData(), n), -cmp);
        QCOMPARE(NN_Digits(a.constData(), n), aDigits);
        QCOMPARE(NN_Bits(a.constData(), n), aBits);
        QCOMPARE(NN_Zero(a.constData(), n), aZero);
    }

    void digitOperationsAndPowers()
    {
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
    }

    void resultMayOverwriteOperand()
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

        Number q = makeNumber(rng, 2 * digits), quotient;
        BN_mod(expected.get(), bn(q, 2 * digits).get(), bn(d, digits).get(), ctx.get());
        NN_Div(quotient.d, q.d, q.d, 2 * digits, d.d, digits);
        QCOMPARE(hex(q, digits), hex(expected.get()));
    }
};

QTEST_APPLESS_MAIN(TestNn)
#include "tst_nn.moc"
