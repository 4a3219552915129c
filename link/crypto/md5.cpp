#include "md5.h"

#include "rsamem.h"

#include <cstring>

namespace {

// floor(2^32 * |sin(i + 1)|)
constexpr uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee,
    0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be,
    0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa,
    0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed,
    0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c,
    0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05,
    0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039,
    0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1,
    0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};

// Rotation of each step: four amounts per round, repeated four times.
constexpr int kShift[4][4] = {
    {7, 12, 17, 22},
    {5, 9, 14, 20},
    {4, 11, 16, 23},
    {6, 10, 15, 21},
};

inline uint32_t rotateLeft(uint32_t x, int n)
{
    return x << n | x >> (32 - n);
}

inline uint32_t loadLittleEndian(const uint8_t *p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline void storeLittleEndian(uint8_t *p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

void transform(uint32_t state[4], const uint8_t block[64])
{
    uint32_t x[16];
    for (int i = 0; i < 16; ++i)
        x[i] = loadLittleEndian(block + 4 * i);

    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (int i = 0; i < 64; ++i) {
        const int round = i / 16;
        uint32_t mixed;
        int word;
        switch (round) {
        case 0:
            mixed = (b & c) | (~b & d);
            word = i;
            break;
        case 1:
            mixed = (b & d) | (c & ~d);
            word = (5 * i + 1) % 16;
            break;
        case 2:
            mixed = b ^ c ^ d;
            word = (3 * i + 5) % 16;
            break;
        default:
            mixed = c ^ (b | ~d);
            word = (7 * i) % 16;
            break;
        }
        const uint32_t rotated = rotateLeft(a + mixed + kSine[i] + x[word], kShift[round][i % 4]);
        a = d;
        d = c;
        c = b;
        b += rotated;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;

    R_wipe(x, sizeof x);
}

const char kHexDigits[] = "0123456789abcdef";

} // namespace

void MD5Init(MD5_CTX *context)
{
    context->state[0] = 0x67452301;
    context->state[1] = 0xefcdab89;
    context->state[2] = 0x98badcfe;
    context->state[3] = 0x10325476;
    context->count[0] = 0;
    context->count[1] = 0;
}

void MD5Update(MD5_CTX *context, const uint8_t *input, unsigned int inputLen)
{
    unsigned int index = (context->count[0] >> 3) & 0x3f;

    // The bit count is 64 bits wide in two words; inputLen * 8 may carry into the high
    // word both through the addition and through the bits shifted out.
    const uint32_t lowBits = uint32_t(inputLen) << 3;
    context->count[0] += lowBits;
    if (context->count[0] < lowBits)
        ++context->count[1];
    context->count[1] += uint32_t(inputLen) >> 29;

    unsigned int done = 0;
    const unsigned int room = 64 - index;
    if (inputLen >= room) {
        std::memcpy(context->buffer + index, input, room);
        transform(context->state, context->buffer);
        done = room;
        for (; done + 64 <= inputLen; done += 64)
            transform(context->state, input + done);
        index = 0;
    }
    R_memcpy(context->buffer + index, input + done, inputLen - done);
}

void MD5Final(uint8_t digest[16], MD5_CTX *context)
{
    uint8_t length[8];
    storeLittleEndian(length, context->count[0]);
    storeLittleEndian(length + 4, context->count[1]);

    // Pad with a one bit and zeros up to 56 bytes modulo 64, then the length.
    static const uint8_t padding[64] = {0x80};
    const unsigned int index = (context->count[0] >> 3) & 0x3f;
    const unsigned int padLen = index < 56 ? 56 - index : 120 - index;
    MD5Update(context, padding, padLen);
    MD5Update(context, length, 8);

    for (int i = 0; i < 4; ++i)
        storeLittleEndian(digest + 4 * i, context->state[i]);

    R_wipe(context, sizeof *context);
}

void md2str(const uint8_t digest[16], char *text)
{
    for (int i = 0; i < 16; ++i) {
        text[2 * i] = kHexDigits[digest[i] >> 4];
        text[2 * i + 1] = kHexDigits[digest[i] & 0x0f];
    }
    text[32] = '\0';
}

void MD5Data(const uint8_t *data, unsigned int len, uint8_t digest[16])
{
    MD5_CTX context;
    MD5Init(&context);
    MD5Update(&context, data, len);
    MD5Final(digest, &context);
}

void MD5Bin(const char *string, uint8_t digest[16])
{
    MD5Data(reinterpret_cast<const uint8_t *>(string), unsigned(std::strlen(string)), digest);
}

char *MDnString(const uint8_t *data, unsigned int len, char *text)
{
    uint8_t digest[16];
    MD5Data(data, len, digest);
    md2str(digest, text);
    R_wipe(digest, sizeof digest);
    return text;
}

char *MDString(const char *string, char *text)
{
    return MDnString(reinterpret_cast<const uint8_t *>(string), unsigned(std::strlen(string)), text);
}
