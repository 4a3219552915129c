#pragma once

// The pseudo-random generator that fills the key transport's padding: a 128-bit state
// built by adding up the MD5 digests of seed blocks, and output blocks that are the MD5
// digests of successive states.

#include <cstdint>

// R_GenerateBytes: the structure still needs seed bytes.
constexpr int RE_NEED_RANDOM = 1032;

constexpr unsigned int RANDOM_BYTES_NEEDED = 256;

struct R_RANDOM_STRUCT
{
    uint32_t bytesNeeded;      // seed bytes still to mix in before output may be drawn
    uint8_t state[16];         // a 128-bit big-endian number
    uint32_t outputAvailable;  // unused bytes at the end of output, 0 to 16
    uint8_t output[16];
};

// Needs RANDOM_BYTES_NEEDED seed bytes, zero state, no output; returns 0.
int R_RandomInit(R_RANDOM_STRUCT *randomStruct);
// Adds the MD5 digest of the block to the state; returns 0.
int R_RandomUpdate(R_RANDOM_STRUCT *randomStruct, const uint8_t *block, unsigned int blockLen);
// Returns 0.
int R_GetRandomBytesNeeded(unsigned int *bytesNeeded, const R_RANDOM_STRUCT *randomStruct);
// Fills blockLen bytes and returns 0, or returns RE_NEED_RANDOM and writes nothing while
// seed bytes are still needed.
int R_GenerateBytes(uint8_t *block, unsigned int blockLen, R_RANDOM_STRUCT *randomStruct);
// Zeroes the whole structure.
void R_RandomFinal(R_RANDOM_STRUCT *randomStruct);

// Initialises the structure and seeds it from the system's cryptographic generator.
// Returns 0; RE_NEED_RANDOM when the system generator cannot be read, in which case the
// structure stays unseeded so that nothing can be drawn from it.
int RSAFeedRandomStruct(R_RANDOM_STRUCT *randomStruct);
