#pragma once

// Memory helpers of the key-transport library.

#include <cstddef>

// Fill and copy; a len of 0 does nothing (and then the pointers are not touched).
void R_memset(void *p, int value, unsigned int len);
void R_memcpy(void *dst, const void *src, unsigned int len);

// 0 for len 0, else -1, 0 or 1 by the first differing byte, compared unsigned.
int R_memcmp(const void *a, const void *b, unsigned int len);

// Clears secrets (keys, padded blocks, digests, intermediate numbers) in a way the
// compiler may not drop, even when the memory is about to go out of scope.
void R_wipe(void *p, std::size_t len);
