#include "blowfish.h"

#include "blowfishtables_p.h"

#include <cstring>

const uint8_t blf_cfb_iv[16] = {
    0x5c, 0x1e, 0x07, 0xa9, 0xd2, 0xb3, 0x46, 0x8f,
    0x9e, 0x0a, 0x7c, 0x4b, 0x1d, 0x3f, 0x6e, 0x28,
};

namespace {

static_assert(sizeof(BLF_CTX) == 1042 * sizeof(uint32_t), "the key schedule is 1042 words");

// The whole cycle is 9 bytes; the ninth is enciphered with the previous cycle's ninth
// ciphertext byte rather than with Blowfish output.
constexpr int32_t kCycle = 9;

inline uint32_t loadBigEndian(const uint8_t *p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

inline void storeBigEndian(uint8_t *p, uint32_t v)
{
    p[0] = uint8_t(v >> 24);
    p[1] = uint8_t(v >> 16);
    p[2] = uint8_t(v >> 8);
    p[3] = uint8_t(v);
}

// The round function with the four lookups taken straight from the bytes of x.
inline uint32_t f(const BLF_CTX *c, uint32_t x)
{
    return ((c->S[0][x >> 24] + c->S[1][(x >> 16) & 0xff]) ^ c->S[2][(x >> 8) & 0xff])
           + c->S[3][x & 0xff];
}

// The rounds are unrolled by hand: the stream spends nearly all its time here and
// the P-array indices become constants.
#define BLF_ROUND(a, b, n) (a) ^= f(ctx, (b)) ^ ctx->P[n]

inline void encipher(const BLF_CTX *ctx, uint32_t &left, uint32_t &right)
{
    uint32_t l = left ^ ctx->P[0];
    uint32_t r = right;
    BLF_ROUND(r, l, 1);  BLF_ROUND(l, r, 2);
    BLF_ROUND(r, l, 3);  BLF_ROUND(l, r, 4);
    BLF_ROUND(r, l, 5);  BLF_ROUND(l, r, 6);
    BLF_ROUND(r, l, 7);  BLF_ROUND(l, r, 8);
    BLF_ROUND(r, l, 9);  BLF_ROUND(l, r, 10);
    BLF_ROUND(r, l, 11); BLF_ROUND(l, r, 12);
    BLF_ROUND(r, l, 13); BLF_ROUND(l, r, 14);
    BLF_ROUND(r, l, 15); BLF_ROUND(l, r, 16);
    left = r ^ ctx->P[17];
    right = l;
}

inline void decipher(const BLF_CTX *ctx, uint32_t &left, uint32_t &right)
{
    uint32_t l = left ^ ctx->P[17];
    uint32_t r = right;
    BLF_ROUND(r, l, 16); BLF_ROUND(l, r, 15);
    BLF_ROUND(r, l, 14); BLF_ROUND(l, r, 13);
    BLF_ROUND(r, l, 12); BLF_ROUND(l, r, 11);
    BLF_ROUND(r, l, 10); BLF_ROUND(l, r, 9);
    BLF_ROUND(r, l, 8);  BLF_ROUND(l, r, 7);
    BLF_ROUND(r, l, 6);  BLF_ROUND(l, r, 5);
    BLF_ROUND(r, l, 4);  BLF_ROUND(l, r, 3);
    BLF_ROUND(r, l, 2);  BLF_ROUND(l, r, 1);
    left = r ^ ctx->P[0];
    right = l;
}

#undef BLF_ROUND

// Reads the next big-endian word of a byte string used cyclically; index carries on
// from call to call. An empty string yields 0 so that it changes nothing when XORed.
uint32_t nextCyclicWord(const uint8_t *bytes, uint16_t len, unsigned &index)
{
    if (len == 0)
        return 0;
    uint32_t word = 0;
    for (int i = 0; i < 4; ++i) {
        word = word << 8 | bytes[index];
        if (++index >= len)
            index = 0;
    }
    return word;
}

void keySchedule(BLF_CTX *ctx, const uint8_t *key, uint16_t keylen,
                 const uint8_t *data, uint16_t datalen)
{
    std::memcpy(ctx, &blfPiTables, sizeof *ctx);

    unsigned keyIndex = 0;
    for (uint32_t &p : ctx->P)
        p ^= nextCyclicWord(key, keylen, keyIndex);

    // The S-boxes follow the P-array in the same chain, so one loop over the 1042
    // words, two at a time, covers both (P first, as published).
    uint32_t *const chain[2] = {ctx->P, &ctx->S[0][0]};
    const int chainLength[2] = {18, 4 * 256};
    unsigned dataIndex = 0;
    uint32_t left = 0, right = 0;
    for (int part = 0; part < 2; ++part) {
        for (int i = 0; i < chainLength[part]; i += 2) {
            left ^= nextCyclicWord(data, datalen, dataIndex);
            right ^= nextCyclicWord(data, datalen, dataIndex);
            encipher(ctx, left, right);
            chain[part][i] = left;
            chain[part][i + 1] = right;
        }
    }
}

void resetState(BLF_CFB_STATE *s)
{
    std::memcpy(s->reg, blf_cfb_iv, sizeof s->reg);
    std::memcpy(s->keystream, blf_cfb_iv, sizeof s->keystream);
    s->position = kCycle;
}

// Starts a cycle: the keystream becomes the register with its first eight bytes
// replaced by their Blowfish encryption; byte 8 keeps the register's byte 8.
void startCycle(const BLF_CTX *ctx, BLF_CFB_STATE *s)
{
    std::memcpy(s->keystream, s->reg, sizeof s->keystream);
    uint32_t left = loadBigEndian(s->reg);
    uint32_t right = loadBigEndian(s->reg + 4);
    encipher(ctx, left, right);
    storeBigEndian(s->keystream, left);
    storeBigEndian(s->keystream + 4, right);
}

// A position outside 0..9 can only come from a damaged state; treating it as the end
// of a cycle keeps every index inside the arrays.
inline bool cycleDone(int32_t position)
{
    return uint32_t(position) >= uint32_t(kCycle);
}

void streamEncrypt(const BLF_CTX *ctx, BLF_CFB_STATE *s, uint8_t *data, int32_t len)
{
    int32_t pos = s->position;
    for (int32_t i = 0; i < len; ++i) {
        if (cycleDone(pos)) {
            startCycle(ctx, s);
            pos = 0;
        }
        const uint8_t c = data[i] ^ s->keystream[pos];
        data[i] = c;
        s->reg[pos] = c;
        ++pos;
    }
    if (len > 0)
        s->position = pos;
}

void streamDecrypt(const BLF_CTX *ctx, BLF_CFB_STATE *s, uint8_t *data, int32_t len)
{
    int32_t pos = s->position;
    for (int32_t i = 0; i < len; ++i) {
        if (cycleDone(pos)) {
            startCycle(ctx, s);
            pos = 0;
        }
        const uint8_t c = data[i];
        s->reg[pos] = c;
        data[i] = c ^ s->keystream[pos];
        ++pos;
    }
    if (len > 0)
        s->position = pos;
}

BLF_CFB_STATE *selectState(BLF2W_CFB_CTX *ctx, int direction)
{
    return direction == BLF_DIR_RECV ? &ctx->recv : &ctx->send;
}

} // namespace

void blf_init(BLF_CTX *ctx, const uint8_t *key, uint16_t keylen)
{
    keySchedule(ctx, key, keylen, nullptr, 0);
}

void blf_init_with_data(BLF_CTX *ctx, const uint8_t *key, uint16_t keylen,
                        const uint8_t *data, uint16_t datalen)
{
    keySchedule(ctx, key, keylen, data, datalen);
}

void blf_encipher(const BLF_CTX *ctx, uint32_t *left, uint32_t *right)
{
    encipher(ctx, *left, *right);
}

void blf_decipher(const BLF_CTX *ctx, uint32_t *left, uint32_t *right)
{
    decipher(ctx, *left, *right);
}

void blf2w_cfb_init(BLF2W_CFB_CTX *ctx, const uint8_t *key, uint16_t keylen)
{
    blf_init(&ctx->blf, key, keylen);
    resetState(&ctx->recv);
    resetState(&ctx->send);
}

void blf2w_cfb_encrypt(BLF2W_CFB_CTX *ctx, int direction, uint8_t *data, int32_t len)
{
    streamEncrypt(&ctx->blf, selectState(ctx, direction), data, len);
}

void blf2w_cfb_decrypt(BLF2W_CFB_CTX *ctx, int direction, uint8_t *data, int32_t len)
{
    streamDecrypt(&ctx->blf, selectState(ctx, direction), data, len);
}

void blf_cfb_init(BLF_CFB_CTX *ctx, const uint8_t *key, uint16_t keylen)
{
    blf_init(&ctx->blf, key, keylen);
    resetState(&ctx->state);
}

void blf_cfb_encrypt(BLF_CFB_CTX *ctx, uint8_t *data, int32_t len)
{
    streamEncrypt(&ctx->blf, &ctx->state, data, len);
}

void blf_cfb_decrypt(BLF_CFB_CTX *ctx, uint8_t *data, int32_t len)
{
    streamDecrypt(&ctx->blf, &ctx->state, data, len);
}
