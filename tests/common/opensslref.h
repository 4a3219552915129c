#pragma once

// OpenSSL's libcrypto as the independent reference for the tests of our own digest,
// arithmetic and RSA code: conversions between its types and ours. The session
// stream's reference is refstream.h.

#include <openssl/bn.h>
#include <openssl/evp.h>

#include <QByteArray>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace opensslref {

struct BnFree { void operator()(BIGNUM *bn) const { BN_clear_free(bn); } };
using Bn = std::unique_ptr<BIGNUM, BnFree>;
struct BnCtxFree { void operator()(BN_CTX *ctx) const { BN_CTX_free(ctx); } };
using BnCtx = std::unique_ptr<BN_CTX, BnCtxFree>;

inline Bn newBn() { return Bn(BN_new()); }

// 32-bit digits, least significant first, to a BIGNUM through OpenSSL's
// little-endian byte form, so the conversion shares nothing with the code under test.
inline Bn bnFromDigits(const uint32_t *digits, unsigned count)
{
    std::vector<uint8_t> bytes(count * 4u);
    for (unsigned i = 0; i < 4 * count; ++i)
        bytes[i] = uint8_t(digits[i / 4] >> (8 * (i % 4)));
    return Bn(BN_lebin2bn(bytes.data(), int(bytes.size()), nullptr));
}

// A BIGNUM into count digits; false when it does not fit.
inline bool digitsFromBn(const BIGNUM *bn, uint32_t *digits, unsigned count)
{
    std::vector<uint8_t> bytes(count * 4u);
    if (BN_bn2lebinpad(bn, bytes.data(), int(bytes.size())) < 0)
        return false;
    std::fill(digits, digits + count, 0u);
    for (unsigned i = 0; i < 4 * count; ++i)
        digits[i / 4] |= uint32_t(bytes[i]) << (8 * (i % 4));
    return true;
}

// A BIGNUM as exactly len big-endian bytes (leading zeros).
inline QByteArray bytesFromBn(const BIGNUM *bn, int len)
{
    QByteArray out(len, '\0');
    BN_bn2binpad(bn, reinterpret_cast<unsigned char *>(out.data()), len);
    return out;
}

inline QByteArray md5(const QByteArray &data)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    EVP_Digest(data.constData(), size_t(data.size()), digest, &len, EVP_md5(), nullptr);
    return QByteArray(reinterpret_cast<const char *>(digest), int(len));
}

inline QByteArray randomBytes(std::mt19937 &rng, int len)
{
    QByteArray out(len, '\0');
    for (char &c : out)
        c = char(rng() & 0xff);
    return out;
}

inline const uint8_t *u8(const QByteArray &a) { return reinterpret_cast<const uint8_t *>(a.constData()); }
inline uint8_t *u8(QByteArray &a) { return reinterpret_cast<uint8_t *>(a.data()); }

} // namespace opensslref
