#include "rsa.h"

namespace {

static_assert(sizeof(R_RSA_PUBLIC_KEY) == 4 + 2 * MAX_RSA_MODULUS_LEN,
              "the public key record is the 260 bytes of the key announcement");
static_assert(sizeof(R_RSA_PRIVATE_KEY) == 4 + 3 * MAX_RSA_MODULUS_LEN + 5 * MAX_RSA_PRIME_LEN,
              "the private key record has no padding between its fields");

// Block type 1 and 2 both need 0, the type, eight padding bytes and the 0 separator.
constexpr unsigned int kPaddingOverhead = 11;
constexpr unsigned int kMinPaddingBytes = 8;
constexpr uint8_t kBlockTypeSign = 1;
constexpr uint8_t kBlockTypeEncrypt = 2;

constexpr uint32_t kKeyFileVersion = 1;

// The modulus length k in bytes, or 0 for a key that cannot be used: bits of 0 or
// above what the 128-byte fields hold, or a modulus that does not fit in k bytes
// (its result would not fit the k bytes written out, and would be cut short).
unsigned int modulusLength(uint32_t bits, const uint8_t modulus[MAX_RSA_MODULUS_LEN])
{
    if (bits == 0 || bits > MAX_RSA_MODULUS_BITS)
        return 0;
    const unsigned int k = (bits + 7) / 8;
    for (unsigned int i = 0; i < MAX_RSA_MODULUS_LEN - k; ++i) {
        if (modulus[i] != 0)
            return 0;
    }
    return k;
}

bool fitsWithPadding(unsigned int dataLen, unsigned int k)
{
    return k >= kPaddingOverhead && dataLen <= k - kPaddingOverhead;
}

// output = input^e mod n over k bytes. The input is compared with the modulus in full:
// a block with digits above the modulus's would otherwise be taken as smaller.
int publicBlock(uint8_t *output, unsigned int *outputLen, const uint8_t *input,
                unsigned int inputLen, const R_RSA_PUBLIC_KEY *key, unsigned int k)
{
    NN_DIGIT m[MAX_NN_DIGITS], n[MAX_NN_DIGITS], e[MAX_NN_DIGITS], c[MAX_NN_DIGITS] = {};
    NN_Decode(m, MAX_NN_DIGITS, input, inputLen);
    NN_Decode(n, MAX_NN_DIGITS, key->modulus, MAX_RSA_MODULUS_LEN);
    NN_Decode(e, MAX_NN_DIGITS, key->exponent, MAX_RSA_MODULUS_LEN);
    const unsigned int nDigits = NN_Digits(n, MAX_NN_DIGITS);
    const unsigned int eDigits = NN_Digits(e, MAX_NN_DIGITS);

    int status = RE_DATA;
    if (NN_Cmp(m, n, MAX_NN_DIGITS) < 0) {
        NN_ModExp(c, m, e, eDigits, n, nDigits);
        NN_Encode(output, k, c, nDigits);
        *outputLen = k;
        status = 0;
    }
    R_wipe(m, sizeof m);
    R_wipe(c, sizeof c);
    return status;
}

// output = input^d mod n over k bytes, by the Chinese remainder theorem.
int privateBlock(uint8_t *output, unsigned int *outputLen, const uint8_t *input,
                 unsigned int inputLen, const R_RSA_PRIVATE_KEY *key, unsigned int k)
{
    NN_DIGIT c[MAX_NN_DIGITS] = {}, n[MAX_NN_DIGITS] = {};
    NN_DIGIT p[MAX_NN_DIGITS] = {}, q[MAX_NN_DIGITS] = {};
    NN_DIGIT dP[MAX_NN_DIGITS] = {}, dQ[MAX_NN_DIGITS] = {}, qInv[MAX_NN_DIGITS] = {};
    NN_DIGIT cP[MAX_NN_DIGITS] = {}, cQ[MAX_NN_DIGITS] = {};
    NN_DIGIT mP[MAX_NN_DIGITS] = {}, mQ[MAX_NN_DIGITS] = {}, mQmodP[MAX_NN_DIGITS] = {};
    NN_DIGIT t[MAX_NN_DIGITS] = {};
    NN_DIGIT result[2 * MAX_NN_DIGITS] = {};

    NN_Decode(c, MAX_NN_DIGITS, input, inputLen);
    NN_Decode(n, MAX_NN_DIGITS, key->modulus, MAX_RSA_MODULUS_LEN);
    NN_Decode(p, MAX_NN_DIGITS, key->prime[0], MAX_RSA_PRIME_LEN);
    NN_Decode(q, MAX_NN_DIGITS, key->prime[1], MAX_RSA_PRIME_LEN);
    NN_Decode(dP, MAX_NN_DIGITS, key->primeExponent[0], MAX_RSA_PRIME_LEN);
    NN_Decode(dQ, MAX_NN_DIGITS, key->primeExponent[1], MAX_RSA_PRIME_LEN);
    NN_Decode(qInv, MAX_NN_DIGITS, key->coefficient, MAX_RSA_PRIME_LEN);

    int status = RE_DATA;
    if (NN_Cmp(c, n, MAX_NN_DIGITS) < 0) {
        const unsigned int cDigits = NN_Digits(c, MAX_NN_DIGITS);
        const unsigned int pDigits = NN_Digits(p, MAX_NN_DIGITS);
        const unsigned int qDigits = NN_Digits(q, MAX_NN_DIGITS);
        const unsigned int pqDigits = pDigits > qDigits ? pDigits : qDigits;

        NN_Mod(cP, c, cDigits, p, pDigits);
        NN_Mod(cQ, c, cDigits, q, qDigits);
        NN_ModExp(mP, cP, dP, NN_Digits(dP, MAX_NN_DIGITS), p, pDigits);
        NN_ModExp(mQ, cQ, dQ, NN_Digits(dQ, MAX_NN_DIGITS), q, qDigits);

        // t = (mP - mQ) mod p. mQ is reduced first: with q above p it may exceed p,
        // and p - (mQ - mP) would then go below zero.
        NN_Mod(mQmodP, mQ, qDigits, p, pDigits);
        if (NN_Cmp(mP, mQmodP, pDigits) >= 0) {
            NN_Sub(t, mP, mQmodP, pDigits);
        } else {
            NN_Sub(t, mQmodP, mP, pDigits);
            NN_Sub(t, p, t, pDigits);
        }
        NN_ModMult(t, t, qInv, p, pDigits);

        NN_Mult(result, t, q, pqDigits);
        NN_Add(result, result, mQ, MAX_NN_DIGITS);
        NN_Encode(output, k, result, MAX_NN_DIGITS);
        *outputLen = k;
        status = 0;
    }

    R_wipe(c, sizeof c);
    R_wipe(p, sizeof p);
    R_wipe(q, sizeof q);
    R_wipe(dP, sizeof dP);
    R_wipe(dQ, sizeof dQ);
    R_wipe(qInv, sizeof qInv);
    R_wipe(cP, sizeof cP);
    R_wipe(cQ, sizeof cQ);
    R_wipe(mP, sizeof mP);
    R_wipe(mQ, sizeof mQ);
    R_wipe(mQmodP, sizeof mQmodP);
    R_wipe(t, sizeof t);
    R_wipe(result, sizeof result);
    return status;
}

// Data of a block of type 1 (0, 1, at least eight bytes of 255, 0, data) or of type 2
// (0, 2, at least eight non-zero bytes, 0, data); RE_DATA for any other block.
int unpadBlock(uint8_t *output, unsigned int *outputLen, const uint8_t *block,
               unsigned int k, uint8_t blockType)
{
    if (k < kPaddingOverhead || block[0] != 0 || block[1] != blockType)
        return RE_DATA;

    unsigned int i = 2;
    if (blockType == kBlockTypeSign) {
        while (i < k - 1 && block[i] == 0xff)
            ++i;
    } else {
        while (i < k - 1 && block[i] != 0)
            ++i;
    }
    if (block[i] != 0 || i - 2 < kMinPaddingBytes)
        return RE_DATA;

    ++i;
    const unsigned int dataLen = k - i;
    R_memcpy(output, block + i, dataLen);
    *outputLen = dataLen;
    return 0;
}

// Fills the padding of a type 2 block with non-zero bytes from the generator.
int drawNonZeroPadding(uint8_t *padding, unsigned int length, R_RANDOM_STRUCT *randomStruct)
{
    uint8_t byte = 0;
    int status = 0;
    for (unsigned int i = 0; i < length && status == 0; ++i) {
        do {
            status = R_GenerateBytes(&byte, 1, randomStruct);
        } while (status == 0 && byte == 0);
        padding[i] = byte;
    }
    R_wipe(&byte, sizeof byte);
    return status;
}

void putBigEndian32(uint8_t *&p, uint32_t value)
{
    p[0] = uint8_t(value >> 24);
    p[1] = uint8_t(value >> 16);
    p[2] = uint8_t(value >> 8);
    p[3] = uint8_t(value);
    p += 4;
}

uint32_t takeBigEndian32(const uint8_t *&p)
{
    const uint32_t value = uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16
                           | uint32_t(p[2]) << 8 | uint32_t(p[3]);
    p += 4;
    return value;
}

void putBytes(uint8_t *&p, const uint8_t *bytes, unsigned int length)
{
    R_memcpy(p, bytes, length);
    p += length;
}

void takeBytes(const uint8_t *&p, uint8_t *bytes, unsigned int length)
{
    R_memcpy(bytes, p, length);
    p += length;
}

} // namespace

int RSAPublicEncrypt(uint8_t *output, unsigned int *outputLen,
                     const uint8_t *input, unsigned int inputLen,
                     const R_RSA_PUBLIC_KEY *publicKey, R_RANDOM_STRUCT *randomStruct)
{
    const unsigned int k = modulusLength(publicKey->bits, publicKey->modulus);
    if (k == 0 || !fitsWithPadding(inputLen, k))
        return RE_LEN;

    uint8_t block[MAX_RSA_MODULUS_LEN];
    const unsigned int paddingLen = k - inputLen - 3;
    block[0] = 0;
    block[1] = kBlockTypeEncrypt;
    int status = drawNonZeroPadding(block + 2, paddingLen, randomStruct);
    if (status == 0) {
        block[2 + paddingLen] = 0;
        R_memcpy(block + 3 + paddingLen, input, inputLen);
        status = publicBlock(output, outputLen, block, k, publicKey, k);
    }
    R_wipe(block, sizeof block);
    return status;
}

int RSAPublicDecrypt(uint8_t *output, unsigned int *outputLen,
                     const uint8_t *input, unsigned int inputLen,
                     const R_RSA_PUBLIC_KEY *publicKey)
{
    const unsigned int k = modulusLength(publicKey->bits, publicKey->modulus);
    if (k == 0 || inputLen > k)
        return RE_LEN;

    uint8_t block[MAX_RSA_MODULUS_LEN];
    unsigned int blockLen = 0;
    int status = publicBlock(block, &blockLen, input, inputLen, publicKey, k);
    if (status == 0)
        status = blockLen == k ? unpadBlock(output, outputLen, block, k, kBlockTypeSign) : RE_LEN;
    R_wipe(block, sizeof block);
    return status;
}

int RSAPrivateEncrypt(uint8_t *output, unsigned int *outputLen,
                      const uint8_t *input, unsigned int inputLen,
                      const R_RSA_PRIVATE_KEY *privateKey)
{
    const unsigned int k = modulusLength(privateKey->bits, privateKey->modulus);
    if (k == 0 || !fitsWithPadding(inputLen, k))
        return RE_LEN;

    uint8_t block[MAX_RSA_MODULUS_LEN];
    const unsigned int paddingLen = k - inputLen - 3;
    block[0] = 0;
    block[1] = kBlockTypeSign;
    R_memset(block + 2, 0xff, paddingLen);
    block[2 + paddingLen] = 0;
    R_memcpy(block + 3 + paddingLen, input, inputLen);
    const int status = privateBlock(output, outputLen, block, k, privateKey, k);
    R_wipe(block, sizeof block);
    return status;
}

int RSAPrivateDecrypt(uint8_t *output, unsigned int *outputLen,
                      const uint8_t *input, unsigned int inputLen,
                      const R_RSA_PRIVATE_KEY *privateKey)
{
    const unsigned int k = modulusLength(privateKey->bits, privateKey->modulus);
    if (k == 0 || inputLen > k)
        return RE_LEN;

    uint8_t block[MAX_RSA_MODULUS_LEN];
    unsigned int blockLen = 0;
    int status = privateBlock(block, &blockLen, input, inputLen, privateKey, k);
    if (status == 0)
        status = blockLen == k ? unpadBlock(output, outputLen, block, k, kBlockTypeEncrypt) : RE_LEN;
    R_wipe(block, sizeof block);
    return status;
}

int RSAWriteKeys(FILE *stream, const R_RSA_PUBLIC_KEY *publicKey,
                 const R_RSA_PRIVATE_KEY *privateKey)
{
    uint8_t image[RSA_KEY_FILE_SIZE];
    uint8_t *p = image;
    putBigEndian32(p, kKeyFileVersion);
    putBigEndian32(p, publicKey->bits);
    putBytes(p, publicKey->modulus, sizeof publicKey->modulus);
    putBytes(p, publicKey->exponent, sizeof publicKey->exponent);
    putBigEndian32(p, privateKey->bits);
    putBytes(p, privateKey->modulus, sizeof privateKey->modulus);
    putBytes(p, privateKey->publicExponent, sizeof privateKey->publicExponent);
    putBytes(p, privateKey->exponent, sizeof privateKey->exponent);
    putBytes(p, &privateKey->prime[0][0], sizeof privateKey->prime);
    putBytes(p, &privateKey->primeExponent[0][0], sizeof privateKey->primeExponent);
    putBytes(p, privateKey->coefficient, sizeof privateKey->coefficient);

    // A key file cut short would read back as a different key: every byte must land.
    const bool written = std::fwrite(image, 1, sizeof image, stream) == sizeof image
                         && std::fflush(stream) == 0;
    R_wipe(image, sizeof image);
    return written ? 1 : 0;
}

int RSAReadKeys(FILE *stream, R_RSA_PUBLIC_KEY *publicKey, R_RSA_PRIVATE_KEY *privateKey)
{
    uint8_t image[RSA_KEY_FILE_SIZE];
    const uint8_t *p = image;
    int result = 0;
    if (std::fread(image, 1, sizeof image, stream) == sizeof image
        && takeBigEndian32(p) == kKeyFileVersion) {
        publicKey->bits = takeBigEndian32(p);
        takeBytes(p, publicKey->modulus, sizeof publicKey->modulus);
        takeBytes(p, publicKey->exponent, sizeof publicKey->exponent);
        privateKey->bits = takeBigEndian32(p);
        takeBytes(p, privateKey->modulus, sizeof privateKey->modulus);
        takeBytes(p, privateKey->publicExponent, sizeof privateKey->publicExponent);
        takeBytes(p, privateKey->exponent, sizeof privateKey->exponent);
        takeBytes(p, &privateKey->prime[0][0], sizeof privateKey->prime);
        takeBytes(p, &privateKey->primeExponent[0][0], sizeof privateKey->primeExponent);
        takeBytes(p, privateKey->coefficient, sizeof privateKey->coefficient);
        result = 1;
    }
    R_wipe(image, sizeof image);
    return result;
}
