#pragma once

// MD5 message digest (RFC 1321) and its text forms. It drives the random generator of
// the key transport.

#include <cstdint>

struct MD5_CTX
{
    uint32_t state[4];   // chaining words A, B, C, D
    uint32_t count[2];   // message length in bits, low word first
    uint8_t buffer[64];  // input not yet digested
};

void MD5Init(MD5_CTX *context);
void MD5Update(MD5_CTX *context, const uint8_t *input, unsigned int inputLen);
// Writes the 16-byte digest and clears the context.
void MD5Final(uint8_t digest[16], MD5_CTX *context);

// 16 digest bytes as 32 lowercase hexadecimal digits and a NUL (33 bytes of text).
void md2str(const uint8_t digest[16], char *text);
// MD5 of len bytes, or of a NUL-terminated string without its NUL, as text; return text.
char *MDnString(const uint8_t *data, unsigned int len, char *text);
char *MDString(const char *string, char *text);
// The same into 16 digest bytes.
void MD5Bin(const char *string, uint8_t digest[16]);
void MD5Data(const uint8_t *data, unsigned int len, uint8_t digest[16]);
