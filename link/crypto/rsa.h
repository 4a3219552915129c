#pragma once

// RSA with PKCS #1 v1.5 padding for moduli up to 1024 bits: the session key goes to the
// server under its public key with block type 2. The private-key operations and the key
// file complete the library. Nothing here allocates; every padded block and
// intermediate number is wiped before a call returns.

#include "nn.h"
#include "rsamem.h"
#include "rsarandom.h"

#include <cstdint>
#include <cstdio>

// Result codes besides 0 (and RE_NEED_RANDOM of the generator).
constexpr int RE_DATA = 1025;  // data not below the modulus, or malformed padding
constexpr int RE_LEN = 1030;   // a length that does not fit the key

// All numbers big-endian, padded with leading zero bytes. A public key record is
// exactly the 260 bytes the server announces (bits in host order here).
struct R_RSA_PUBLIC_KEY
{
    uint32_t bits;  // modulus length in bits, at most MAX_RSA_MODULUS_BITS
    uint8_t modulus[MAX_RSA_MODULUS_LEN];
    uint8_t exponent[MAX_RSA_MODULUS_LEN];
};

struct R_RSA_PRIVATE_KEY
{
    uint32_t bits;
    uint8_t modulus[MAX_RSA_MODULUS_LEN];
    uint8_t publicExponent[MAX_RSA_MODULUS_LEN];
    uint8_t exponent[MAX_RSA_MODULUS_LEN];
    uint8_t prime[2][MAX_RSA_PRIME_LEN];          // p, q
    uint8_t primeExponent[2][MAX_RSA_PRIME_LEN];  // exponent mod p-1, mod q-1
    uint8_t coefficient[MAX_RSA_PRIME_LEN];       // q^-1 mod p
};

// Size of the file RSAWriteKeys writes.
constexpr unsigned int RSA_KEY_FILE_SIZE = 972;

// Pads inputLen bytes as block type 2 with non-zero bytes drawn from randomStruct and
// encrypts them; writes k = (bits + 7) / 8 bytes to output (room for
// MAX_RSA_MODULUS_LEN) and k to outputLen. Returns 0; RE_LEN when the input with 11
// bytes of padding exceeds k or the key's bits are 0, above 1024 or too few for its
// modulus; RE_DATA when the block is not below the modulus; RE_NEED_RANDOM when the
// structure is not seeded.
int RSAPublicEncrypt(uint8_t *output, unsigned int *outputLen,
                     const uint8_t *input, unsigned int inputLen,
                     const R_RSA_PUBLIC_KEY *publicKey, R_RANDOM_STRUCT *randomStruct);

// Public-key operation, then checks block type 1 (0, 1, bytes of 255, 0) and returns the
// data after it.
int RSAPublicDecrypt(uint8_t *output, unsigned int *outputLen,
                     const uint8_t *input, unsigned int inputLen,
                     const R_RSA_PUBLIC_KEY *publicKey);

// Block type 1 padding, then the private-key operation.
int RSAPrivateEncrypt(uint8_t *output, unsigned int *outputLen,
                      const uint8_t *input, unsigned int inputLen,
                      const R_RSA_PRIVATE_KEY *privateKey);

// Private-key operation, then checks block type 2 (0, 2, non-zero bytes, 0) and returns
// the data after it.
int RSAPrivateDecrypt(uint8_t *output, unsigned int *outputLen,
                      const uint8_t *input, unsigned int inputLen,
                      const R_RSA_PRIVATE_KEY *privateKey);

// The key file: 972 bytes, 32-bit values big-endian (version 1, public bits, modulus,
// exponent, private bits, modulus, public and private exponents, primes, prime
// exponents, coefficient). Both return 1 when every byte was written or read, else 0;
// RSAReadKeys also returns 0 for a version other than 1 and then leaves both keys as
// they were.
int RSAWriteKeys(FILE *stream, const R_RSA_PUBLIC_KEY *publicKey,
                 const R_RSA_PRIVATE_KEY *privateKey);
int RSAReadKeys(FILE *stream, R_RSA_PUBLIC_KEY *publicKey, R_RSA_PRIVATE_KEY *privateKey);
