#pragma once

// Multi-precision natural numbers for the key transport: arrays of 32-bit digits,
// least significant first, with an explicit digit count. Nothing allocates: numbers
// live in fixed arrays of MAX_NN_DIGITS digits (products in twice that), sized for
// 1024-bit moduli. A result may be written over one of the operands. Routines that
// hold intermediate numbers wipe them before they return.

#include <cstdint>

using NN_DIGIT = uint32_t;

constexpr unsigned int NN_DIGIT_BITS = 32;
constexpr unsigned int MAX_RSA_MODULUS_BITS = 1024;
constexpr unsigned int MAX_RSA_MODULUS_LEN = (MAX_RSA_MODULUS_BITS + 7) / 8;
constexpr unsigned int MAX_RSA_PRIME_LEN = (MAX_RSA_MODULUS_LEN + 1) / 2;
// One spare digit above the largest modulus.
constexpr unsigned int MAX_NN_DIGITS = MAX_RSA_MODULUS_LEN / 4 + 1;

// Big-endian bytes to digits; digits above the bytes are zero, bytes that do not fit
// (the most significant ones) are ignored.
void NN_Decode(NN_DIGIT *a, unsigned int digits, const uint8_t *b, unsigned int len);
// Digits to exactly len big-endian bytes: leading bytes 0, digits that do not fit dropped.
void NN_Encode(uint8_t *a, unsigned int len, const NN_DIGIT *b, unsigned int digits);

void NN_Assign(NN_DIGIT *a, const NN_DIGIT *b, unsigned int digits);
void NN_AssignZero(NN_DIGIT *a, unsigned int digits);
// a = 2^k, or 0 when bit k lies beyond the digits.
void NN_Assign2Exp(NN_DIGIT *a, unsigned int k, unsigned int digits);

// a = b + c and a = b - c modulo 2^(32 digits); they return the carry and the borrow.
NN_DIGIT NN_Add(NN_DIGIT *a, const NN_DIGIT *b, const NN_DIGIT *c, unsigned int digits);
NN_DIGIT NN_Sub(NN_DIGIT *a, const NN_DIGIT *b, const NN_DIGIT *c, unsigned int digits);

// a = b * c; a has 2 * digits digits (at most 2 * MAX_NN_DIGITS).
void NN_Mult(NN_DIGIT *a, const NN_DIGIT *b, const NN_DIGIT *c, unsigned int digits);

// a = b << c and a = b >> c for c from 0 to 31; they return the bits shifted out, placed
// as they would appear in the neighbouring digit. A c of 32 or more does nothing, returns 0.
NN_DIGIT NN_LShift(NN_DIGIT *a, const NN_DIGIT *b, unsigned int c, unsigned int digits);
NN_DIGIT NN_RShift(NN_DIGIT *a, const NN_DIGIT *b, unsigned int c, unsigned int digits);

// Quotient a (cDigits digits) and remainder b (dDigits digits) of c / d, with cDigits up
// to 2 * MAX_NN_DIGITS and dDigits up to MAX_NN_DIGITS. A d of 0 leaves a and b as they are.
void NN_Div(NN_DIGIT *a, NN_DIGIT *b, const NN_DIGIT *c, unsigned int cDigits,
            const NN_DIGIT *d, unsigned int dDigits);
// a = b mod c; a has cDigits digits.
void NN_Mod(NN_DIGIT *a, const NN_DIGIT *b, unsigned int bDigits,
            const NN_DIGIT *c, unsigned int cDigits);
// a = b * c mod d.
void NN_ModMult(NN_DIGIT *a, const NN_DIGIT *b, const NN_DIGIT *c, const NN_DIGIT *d,
                unsigned int digits);
// a = b^c mod d; a and b have dDigits digits.
void NN_ModExp(NN_DIGIT *a, const NN_DIGIT *b, const NN_DIGIT *c, unsigned int cDigits,
               const NN_DIGIT *d, unsigned int dDigits);
// a = b^-1 mod c, for b and c without a common divisor.
void NN_ModInv(NN_DIGIT *a, const NN_DIGIT *b, const NN_DIGIT *c, unsigned int digits);
// a = gcd(b, c).
void NN_Gcd(NN_DIGIT *a, const NN_DIGIT *b, const NN_DIGIT *c, unsigned int digits);

// -1, 0 or 1, comparing from the most significant digit down.
int NN_Cmp(const NN_DIGIT *a, const NN_DIGIT *b, unsigned int digits);
// 1 if every digit is 0, else 0.
int NN_Zero(const NN_DIGIT *a, unsigned int digits);
// Significant digits and significant bits.
unsigned int NN_Digits(const NN_DIGIT *a, unsigned int digits);
unsigned int NN_Bits(const NN_DIGIT *a, unsigned int digits);

// a[1]:a[0] = b * c.
void NN_DigitMult(NN_DIGIT a[2], NN_DIGIT b, NN_DIGIT c);
// *a = (b[1]:b[0]) / c, for a c whose top bit is set and b[1] below c.
void NN_DigitDiv(NN_DIGIT *a, const NN_DIGIT b[2], NN_DIGIT c);
