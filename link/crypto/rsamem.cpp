#include "rsamem.h"

#include <cstring>

void R_memset(void *p, int value, unsigned int len)
{
    if (len != 0)
        std::memset(p, value, len);
}

void R_memcpy(void *dst, const void *src, unsigned int len)
{
    if (len != 0)
        std::memcpy(dst, src, len);
}

int R_memcmp(const void *a, const void *b, unsigned int len)
{
    if (len == 0)
        return 0;
    const int result = std::memcmp(a, b, len);
    return result < 0 ? -1 : result > 0 ? 1 : 0;
}

void R_wipe(void *p, std::size_t len)
{
    if (len != 0)
        explicit_bzero(p, len);
}
