#include "nn.h"

#include "rsamem.h"

namespace {

using DoubleDigit = uint64_t;

constexpr NN_DIGIT kMaxDigit = 0xffffffffu;

// The top two bits of a digit, as a number from 0 to 3.
inline unsigned int topTwoBits(NN_DIGIT x)
{
    return x >> (NN_DIGIT_BITS - 2);
}

unsigned int digitBits(NN_DIGIT a)
{
    unsigned int bits = 0;
    for (; a != 0; a >>= 1)
        ++bits;
    return bits;
}

// a = b + c * d over digits; returns the carry out of the top digit. One row of the
// schoolbook product: a 64-bit accumulator cannot overflow, since
// (2^32 - 1)^2 + 2 (2^32 - 1) = 2^64 - 1.
NN_DIGIT addDigitMult(NN_DIGIT *a, const NN_DIGIT *b, NN_DIGIT c, const NN_DIGIT *d,
                      unsigned int digits)
{
    if (c == 0)
        return 0;
    NN_DIGIT carry = 0;
    for (unsigned int i = 0; i < digits; ++i) {
        const DoubleDigit t = DoubleDigit(c) * d[i] + b[i] + carry;
        a[i] = NN_DIGIT(t);
        carry = NN_DIGIT(t >> NN_DIGIT_BITS);
    }
    return carry;
}

// a = b - c * d over digits; returns the borrow out of the top digit.
NN_DIGIT subDigitMult(NN_DIGIT *a, const NN_DIGIT *b, NN_DIGIT c, const NN_DIGIT *d,
                      unsigned int digits)
{
    if (c == 0)
        return 0;
    NN_DIGIT borrow = 0;
    for (unsigned int i = 0; i < digits; ++i) {
        // product + borrow stays below 2^64 - 2^32, so its high word plus 1 cannot wrap.
        const DoubleDigit product = DoubleDigit(c) * d[i] + borrow;
        const NN_DIGIT low = NN_DIGIT(product);
        const NN_DIGIT bi = b[i];
        a[i] = bi - low;
        borrow = NN_DIGIT(product >> NN_DIGIT_BITS) + (bi < low ? 1 : 0);
    }
    return borrow;
}

void assignDigit(NN_DIGIT *a, NN_DIGIT value, unsigned int digits)
{
    NN_AssignZero(a, digits);
    if (digits != 0)
        a[0] = value;
}

} // namespace

void NN_Decode(NN_DIGIT *a, unsigned int digits, const uint8_t *b, unsigned int len)
{
    unsigned int byte = len;  // bytes of b not yet taken, counted from its end
    for (unsigned int i = 0; i < digits; ++i) {
        NN_DIGIT t = 0;
        for (unsigned int shift = 0; byte > 0 && shift < NN_DIGIT_BITS; shift += 8)
            t |= NN_DIGIT(b[--byte]) << shift;
        a[i] = t;
    }
}

void NN_Encode(uint8_t *a, unsigned int len, const NN_DIGIT *b, unsigned int digits)
{
    unsigned int byte = len;  // bytes of a not yet written, counted from its end
    for (unsigned int i = 0; i < digits && byte > 0; ++i) {
        const NN_DIGIT t = b[i];
        for (unsigned int shift = 0; byte > 0 && shift < NN_DIGIT_BITS; shift += 8)
            a[--byte] = uint8_t(t >> shift);
    }
    while (byte > 0)
        a[--byte] = 0;
}

void NN_Assign(NN_DIGIT *a, const NN_DIGIT *b, unsigned int digits)
{
    for (unsigned int i = 0; i < digits; ++i)
        a[i] = b[i];
}

void NN_AssignZero(NN_DIGIT *a, unsigned int digits)
{
    for (unsigned int i = 0; i < digits; ++i)
        a[i] = 0;
}

void NN_Assign2Exp(NN_DIGIT *a, unsigned int k, unsigned int digits)
{
    NN_AssignZero(a, digits);
    if (k / NN_DIGIT_BITS < digits)
        a[k / NN_DIGIT_BITS] = NN_DIGIT(1) << (k % NN_DIGIT_BITS);
}

NN_DIGIT NN_Add(NN_DIGIT *a, const NN_DIGIT *b, const NN_DIGIT *c, unsigned int digits)
{
    NN_DIGIT carry = 0;
    for (unsigned int i = 0; i < digits; ++i) {
        const DoubleDigit t = DoubleDigit(b[i]) + c[i] + carry;
        a[i] = NN_DIGIT(t);
        carry = NN_DIGIT(t >> NN_DIGIT_BITS);
    }
    return carry;
}

NN_DIGIT NN_Sub(NN_DIGIT *a, const NN_DIGIT *b, const NN_DIGIT *c, unsigned int digits)
{
    NN_DIGIT borrow = 0;
    for (unsigned int i = 0; i < digits; ++i) {
        const NN_DIGIT bi = b[i];
        const NN_DIGIT ci = c[i];
        a[i] = bi - ci - borrow;
        borrow = (bi < ci || (bi == ci && borrow)) ? 1 : 0;
    }
    return borrow;
}

void NN_Mult(NN_DIGIT *a, const NN_DIGIT *b, const NN_DIGIT *c, unsigned int digits)
{
    NN_DIGIT t[2 * MAX_NN_DIGITS] = {};
    const unsigned int bDigits = NN_Digits(b, digits);
    const unsigned int cDigits = NN_Digits(c, digits);
    for (unsigned int i = 0; i < bDigits; ++i)
        t[i + cDigits] += addDigitMult(&t[i], &t[i], b[i], c, cDigits);
    NN_Assign(a, t, 2 * digits);
    R_wipe(t, sizeof t);
}

NN_DIGIT NN_LShift(NN_DIGIT *a, const NN_DIGIT *b, unsigned int c, unsigned int digits)
{
    if (c >= NN_DIGIT_BITS)
        return 0;
    const unsigned int back = NN_DIGIT_BITS - c;
    NN_DIGIT carry = 0;
    for (unsigned int i = 0; i < digits; ++i) {
        const NN_DIGIT bi = b[i];
        a[i] = (bi << c) | carry;
        carry = c != 0 ? bi >> back : 0;
    }
    return carry;
}

NN_DIGIT NN_RShift(NN_DIGIT *a, const NN_DIGIT *b, unsigned int c, unsigned int digits)
{
    if (c >= NN_DIGIT_BITS)
        return 0;
    const unsigned int back = NN_DIGIT_BITS - c;
    NN_DIGIT carry = 0;
    for (unsigned int i = digits; i-- > 0;) {
        const NN_DIGIT bi = b[i];
        a[i] = (bi >> c) | carry;
        carry = c != 0 ? bi << back : 0;
    }
    return carry;
}

void NN_Div(NN_DIGIT *a, NN_DIGIT *b, const NN_DIGIT *c, unsigned int cDigits,
            const NN_DIGIT *d, unsigned int dDigits)
{
    const unsigned int ddDigits = NN_Digits(d, dDigits);
    if (ddDigits == 0)
        return;

    // Normalise so that the divisor's top digit has its top bit set; then a quotient
    // digit estimated from the top two remainder digits is at most a few too small.
    NN_DIGIT cc[2 * MAX_NN_DIGITS + 1] = {};
    NN_DIGIT dd[MAX_NN_DIGITS] = {};
    const unsigned int shift = NN_DIGIT_BITS - digitBits(d[ddDigits - 1]);
    cc[cDigits] = NN_LShift(cc, c, shift, cDigits);
    NN_LShift(dd, d, shift, ddDigits);
    const NN_DIGIT top = dd[ddDigits - 1];

    NN_AssignZero(a, cDigits);
    for (int i = int(cDigits) - int(ddDigits); i >= 0; --i) {
        NN_DIGIT *remainder = &cc[i];
        NN_DIGIT estimate;
        if (top == kMaxDigit)
            estimate = remainder[ddDigits];
        else
            NN_DigitDiv(&estimate, &remainder[ddDigits - 1], top + 1);

        remainder[ddDigits] -= subDigitMult(remainder, remainder, estimate, dd, ddDigits);
        while (remainder[ddDigits] != 0 || NN_Cmp(remainder, dd, ddDigits) >= 0) {
            ++estimate;
            remainder[ddDigits] -= NN_Sub(remainder, remainder, dd, ddDigits);
        }
        a[i] = estimate;
    }

    NN_AssignZero(b, dDigits);
    NN_RShift(b, cc, shift, ddDigits);

    R_wipe(cc, sizeof cc);
    R_wipe(dd, sizeof dd);
}

void NN_Mod(NN_DIGIT *a, const NN_DIGIT *b, unsigned int bDigits,
            const NN_DIGIT *c, unsigned int cDigits)
{
    NN_DIGIT quotient[2 * MAX_NN_DIGITS];
    NN_Div(quotient, a, b, bDigits, c, cDigits);
    R_wipe(quotient, sizeof quotient);
}

void NN_ModMult(NN_DIGIT *a, const NN_DIGIT *b, const NN_DIGIT *c, const NN_DIGIT *d,
                unsigned int digits)
{
    NN_DIGIT product[2 * MAX_NN_DIGITS];
    NN_Mult(product, b, c, digits);
    NN_Mod(a, product, 2 * digits, d, digits);
    R_wipe(product, sizeof product);
}

void NN_ModExp(NN_DIGIT *a, const NN_DIGIT *b, const NN_DIGIT *c, unsigned int cDigits,
               const NN_DIGIT *d, unsigned int dDigits)
{
    // b, b^2 and b^3 for the exponent's 2-bit windows.
    NN_DIGIT power[3][MAX_NN_DIGITS] = {};
    NN_DIGIT t[MAX_NN_DIGITS] = {};
    NN_Assign(power[0], b, dDigits);
    NN_ModMult(power[1], power[0], b, d, dDigits);
    NN_ModMult(power[2], power[1], b, d, dDigits);

    assignDigit(t, 1, dDigits);
    const unsigned int expDigits = NN_Digits(c, cDigits);
    for (int i = int(expDigits) - 1; i >= 0; --i) {
        NN_DIGIT window = c[i];
        unsigned int windowBits = NN_DIGIT_BITS;
        if (i == int(expDigits) - 1) {
            while (topTwoBits(window) == 0) {
                window <<= 2;
                windowBits -= 2;
            }
        }
        for (unsigned int j = 0; j < windowBits; j += 2, window <<= 2) {
            NN_ModMult(t, t, t, d, dDigits);
            NN_ModMult(t, t, t, d, dDigits);
            if (const unsigned int bits = topTwoBits(window))
                NN_ModMult(t, t, power[bits - 1], d, dDigits);
        }
    }
    // With a zero exponent no reduction has happened yet: 1 mod 1 is 0, not 1.
    if (expDigits == 0)
        NN_Mod(t, t, dDigits, d, dDigits);

    NN_Assign(a, t, dDigits);
    R_wipe(power, sizeof power);
    R_wipe(t, sizeof t);
}

void NN_ModInv(NN_DIGIT *a, const NN_DIGIT *b, const NN_DIGIT *c, unsigned int digits)
{
    // Extended Euclid keeping only the coefficient of b. Its magnitude stays below c,
    // so its sign is tracked apart and flips each step.
    NN_DIGIT q[MAX_NN_DIGITS] = {}, t1[MAX_NN_DIGITS] = {}, t3[MAX_NN_DIGITS] = {};
    NN_DIGIT u1[MAX_NN_DIGITS] = {}, u3[MAX_NN_DIGITS] = {};
    NN_DIGIT v1[MAX_NN_DIGITS] = {}, v3[MAX_NN_DIGITS] = {};
    NN_DIGIT w[2 * MAX_NN_DIGITS] = {};
    bool u1Positive = true;

    assignDigit(u1, 1, digits);
    NN_Assign(u3, b, digits);
    NN_Assign(v3, c, digits);
    while (!NN_Zero(v3, digits)) {
        NN_Div(q, t3, u3, digits, v3, digits);
        NN_Mult(w, q, v1, digits);
        NN_Add(t1, u1, w, digits);
        NN_Assign(u1, v1, digits);
        NN_Assign(v1, t1, digits);
        NN_Assign(u3, v3, digits);
        NN_Assign(v3, t3, digits);
        u1Positive = !u1Positive;
    }
    if (u1Positive)
        NN_Assign(a, u1, digits);
    else
        NN_Sub(a, c, u1, digits);

    R_wipe(q, sizeof q);
    R_wipe(t1, sizeof t1);
    R_wipe(t3, sizeof t3);
    R_wipe(u1, sizeof u1);
    R_wipe(u3, sizeof u3);
    R_wipe(v1, sizeof v1);
    R_wipe(v3, sizeof v3);
    R_wipe(w, sizeof w);
}

void NN_Gcd(NN_DIGIT *a, const NN_DIGIT *b, const NN_DIGIT *c, unsigned int digits)
{
    NN_DIGIT t[MAX_NN_DIGITS] = {}, u[MAX_NN_DIGITS] = {}, v[MAX_NN_DIGITS] = {};
    NN_Assign(u, b, digits);
    NN_Assign(v, c, digits);
    while (!NN_Zero(v, digits)) {
        NN_Mod(t, u, digits, v, digits);
        NN_Assign(u, v, digits);
        NN_Assign(v, t, digits);
    }
    NN_Assign(a, u, digits);
    R_wipe(t, sizeof t);
    R_wipe(u, sizeof u);
    R_wipe(v, sizeof v);
}

int NN_Cmp(const NN_DIGIT *a, const NN_DIGIT *b, unsigned int digits)
{
    for (unsigned int i = digits; i-- > 0;) {
        if (a[i] != b[i])
            return a[i] > b[i] ? 1 : -1;
    }
    return 0;
}

int NN_Zero(const NN_DIGIT *a, unsigned int digits)
{
    for (unsigned int i = 0; i < digits; ++i) {
        if (a[i] != 0)
            return 0;
    }
    return 1;
}

unsigned int NN_Digits(const NN_DIGIT *a, unsigned int digits)
{
    while (digits > 0 && a[digits - 1] == 0)
        --digits;
    return digits;
}

unsigned int NN_Bits(const NN_DIGIT *a, unsigned int digits)
{
    const unsigned int significant = NN_Digits(a, digits);
    if (significant == 0)
        return 0;
    return (significant - 1) * NN_DIGIT_BITS + digitBits(a[significant - 1]);
}

void NN_DigitMult(NN_DIGIT a[2], NN_DIGIT b, NN_DIGIT c)
{
    const DoubleDigit product = DoubleDigit(b) * c;
    a[0] = NN_DIGIT(product);
    a[1] = NN_DIGIT(product >> NN_DIGIT_BITS);
}

void NN_DigitDiv(NN_DIGIT *a, const NN_DIGIT b[2], NN_DIGIT c)
{
    const DoubleDigit dividend = DoubleDigit(b[1]) << NN_DIGIT_BITS | b[0];
    *a = NN_DIGIT(dividend / c);
}
