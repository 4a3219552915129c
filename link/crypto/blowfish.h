#pragma once

// Blowfish and the session's byte-wise feedback stream.
//
// Every byte of an administration session after the key block passes through the
// stream below, in both directions, and the server runs the same stream: the byte
// order, the 9-byte cycle, the byte that closes a cycle, the starting position and the
// initialisation vector are all part of the wire format. Changing any of them breaks
// every session.

#include <cstdint>

// Key schedule: the four S-boxes then the P-array, 1042 words in a row.
struct BLF_CTX
{
    uint32_t S[4][256];
    uint32_t P[18];
};

// One direction of the stream.
struct BLF_CFB_STATE
{
    uint8_t reg[16];        // the ciphertext bytes of the running cycle (9 to 15 stay the IV's)
    uint8_t keystream[16];  // what the running cycle's bytes are XORed with
    int32_t position;       // next keystream byte, 0 to 9; 9 starts a new cycle
};

// A connection's context: one key schedule, the state of the bytes received, then the
// state of the bytes sent. The two states never influence each other.
struct BLF2W_CFB_CTX
{
    BLF_CTX blf;
    BLF_CFB_STATE recv;
    BLF_CFB_STATE send;
};

struct BLF_CFB_CTX
{
    BLF_CTX blf;
    BLF_CFB_STATE state;
};

// The direction that selects the receive state; every other value selects the send state.
constexpr int BLF_DIR_RECV = 1;
constexpr int BLF_DIR_SEND = 2;

// The vector both states start from.
extern const uint8_t blf_cfb_iv[16];

// Loads the initial tables and runs the key schedule over keylen key bytes, used
// cyclically (only the first 72 can matter). A key of length 0 leaves the P-array as
// the tables give it.
void blf_init(BLF_CTX *ctx, const uint8_t *key, uint16_t keylen);

// The same schedule with a data block as well: before each of the 521 chained
// encryptions the next two big-endian words of data (taken cyclically) are XORed into
// the halves. An empty data block makes it equal to blf_init.
void blf_init_with_data(BLF_CTX *ctx, const uint8_t *key, uint16_t keylen,
                        const uint8_t *data, uint16_t datalen);

// One 64-bit block as two halves, left one holding the block's first four bytes
// (big-endian), encrypted or decrypted in place.
void blf_encipher(const BLF_CTX *ctx, uint32_t *left, uint32_t *right);
void blf_decipher(const BLF_CTX *ctx, uint32_t *left, uint32_t *right);

// Two-way stream: direction BLF_DIR_RECV for received bytes, anything else for sent
// bytes. Work in place; a len of 0 or less changes nothing.
void blf2w_cfb_init(BLF2W_CFB_CTX *ctx, const uint8_t *key, uint16_t keylen);
void blf2w_cfb_encrypt(BLF2W_CFB_CTX *ctx, int direction, uint8_t *data, int32_t len);
void blf2w_cfb_decrypt(BLF2W_CFB_CTX *ctx, int direction, uint8_t *data, int32_t len);

// One-way stream, the same over a single state.
void blf_cfb_init(BLF_CFB_CTX *ctx, const uint8_t *key, uint16_t keylen);
void blf_cfb_encrypt(BLF_CFB_CTX *ctx, uint8_t *data, int32_t len);
void blf_cfb_decrypt(BLF_CFB_CTX *ctx, uint8_t *data, int32_t len);
