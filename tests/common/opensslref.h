#pragma once

// OpenSSL's libcrypto as the independent reference for the tests of our own cipher,
// digest, arithmetic and RSA code: conversions between its types and ours, and the
// session stream rebuilt on top of its Blowfish block function.

#include <openssl/blowfish.h>
#include <openssl/bn.h>
#include <openssl/evp.h>

#include <QByteArray>

#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace opensslref {

struct BnFree
{
    void operator()(BIGNUM *bn) const { BN_clear_free(bn); }
};
using Bn = std::unique_ptr<BIGNUM, BnFree>;

struct BnCtxFree
{
    void operator()(BN_CTX *ctx) const { BN_CTX_free(ctx); }
};
using BnCtx = std::unique_ptr<BN_CTX, BnCtxFree>;

inline Bn newBn()
{
    return Bn(BN_new());
}

// Digits (32-bit, least significant first, as the host stores them) to a BIGNUM.
// The conversion goes through OpenSSL's little-endian byte form, so it shares nothing
// with the code under test.
inline Bn bnFromDigits(const uint32_t *digits, unsigned count)
{
    std::vector<uint8_t> bytes(count * 4u);
    for (unsigned i = 0; i < count; ++i) {
        for (unsigned b = 0; b < 4; ++b)
            bytes[4 * i + b] = uint8_t(digits[i] >> (8 * b));
    }
    return Bn(BN_lebin2bn(bytes.data(), int(bytes.size()), nullptr));
}

// A BIGNUM into count digits; false when it does not fit.
inline bool digitsFromBn(const BIGNUM *bn, uint32_t *digits, unsigned count)
{
    std::vector<uint8_t> bytes(count * 4u);
    if (BN_bn2lebinpad(bn, bytes.data(), int(bytes.size())) < 0)
        return false;
    for (unsigned i = 0; i < count; ++i) {
        digits[i] = uint32_t(bytes[4 * i]) | uint32_t(bytes[4 * i + 1]) << 8
                    | uint32_t(bytes[4 * i + 2]) << 16 | uint32_t(bytes[4 * i + 3]) << 24;
    }
    return true;
}

// A BIGNUM as exactly len big-endian bytes (leading zeros).
inline QByteArray bytesFromBn(const BIGNUM *bn, int len)
{
    QByteArray out(len, '\0');
    BN_bn2binpad(bn, reinterpret_cast<unsigned char *>(out.data()), len);
    return out;
}

inline Bn bnFromBytes(const QByteArray &bytes)
{
    return Bn(BN_bin2bn(reinterpret_cast<const unsigned char *>(bytes.constData()),
                        int(bytes.size()), nullptr));
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

// The session's stream as the protocol describes it, on OpenSSL's Blowfish: a 16-byte
// register starting at the initialisation vector, a 9-byte cycle whose first eight
// keystream bytes are the encrypted register and whose ninth is register byte 8.
class ReferenceStream
{
public:
    ReferenceStream(const QByteArray &key, const QByteArray &iv)
        : m_register(iv)
    {
        BF_set_key(&m_key, int(key.size()), reinterpret_cast<const unsigned char *>(key.constData()));
    }

    QByteArray encrypt(const QByteArray &plain) { return run(plain, true); }
    QByteArray decrypt(const QByteArray &cipher) { return run(cipher, false); }

private:
    QByteArray run(const QByteArray &in, bool encrypting)
    {
        QByteArray out(in.size(), '\0');
        for (int i = 0; i < in.size(); ++i) {
            if (m_used == 9) {
                nextKeystream();
                m_used = 0;
            }
            const uint8_t k = m_keystream[m_used];
            const uint8_t x = uint8_t(in[i]);
            const uint8_t y = x ^ k;
            out[i] = char(y);
            m_register[m_used] = char(encrypting ? y : x);
            ++m_used;
        }
        return out;
    }

    void nextKeystream()
    {
        const auto *r = reinterpret_cast<const unsigned char *>(m_register.constData());
        BF_LONG block[2];
        block[0] = uint32_t(r[0]) << 24 | uint32_t(r[1]) << 16 | uint32_t(r[2]) << 8 | r[3];
        block[1] = uint32_t(r[4]) << 24 | uint32_t(r[5]) << 16 | uint32_t(r[6]) << 8 | r[7];
        BF_encrypt(block, &m_key);
        for (int i = 0; i < 4; ++i) {
            m_keystream[i] = uint8_t(block[0] >> (24 - 8 * i));
            m_keystream[4 + i] = uint8_t(block[1] >> (24 - 8 * i));
        }
        m_keystream[8] = uint8_t(r[8]);
    }

    BF_KEY m_key;
    QByteArray m_register;
    uint8_t m_keystream[9] = {};
    int m_used = 9;
};

} // namespace opensslref
