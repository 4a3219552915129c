#include "vexasupport.h"

#include <cctype>
#include <cstdio>
#include <cstring>

long long atoi64(const char *text)
{
    if (!text)
        return 0;
    const unsigned char *p = reinterpret_cast<const unsigned char *>(text);
    while (isspace(*p))
        ++p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    // Unsigned arithmetic wraps modulo 2^64 where a signed overflow would be undefined.
    uint64_t value = 0;
    while (*p >= '0' && *p <= '9') {
        value = value * 10u + uint64_t(*p - '0');
        ++p;
    }
    if (negative)
        value = 0u - value;
    return static_cast<long long>(value);
}

char *i64toa(long long value, char *text, int base)
{
    if (!text)
        return nullptr;
    text[0] = '\0';
    if (base < 2 || base > 36)
        return text;
    static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    char reversed[64];
    int count = 0;
    uint64_t rest = static_cast<uint64_t>(value);
    do {
        reversed[count++] = digits[rest % unsigned(base)];
        rest /= unsigned(base);
    } while (rest != 0);
    for (int i = 0; i < count; ++i)
        text[i] = reversed[count - 1 - i];
    text[count] = '\0';
    return text;
}

uint64_t hton64(uint64_t value)
{
    unsigned char bytes[8];
    for (int i = 0; i < 8; ++i)
        bytes[i] = static_cast<unsigned char>(value >> (56 - 8 * i));
    uint64_t result;
    memcpy(&result, bytes, sizeof result);
    return result;
}

uint64_t ntoh64(uint64_t value)
{
    unsigned char bytes[8];
    memcpy(bytes, &value, sizeof bytes);
    uint64_t result = 0;
    for (int i = 0; i < 8; ++i)
        result = (result << 8) | bytes[i];
    return result;
}

int vsnprintfx(char *text, int size, const char *format, va_list args)
{
    if (!text || !format || size < 1)
        return 0;
    if (size == 1) {
        text[0] = '\0';
        return 0;
    }
    // One character less than the buffer could hold, as the callers expect.
    const int wanted = vsnprintf(text, size_t(size - 1), format, args);
    if (wanted < 0) {
        text[0] = '\0';
        return 0;
    }
    return wanted < size - 2 ? wanted : size - 2;
}

int snprintfx(char *text, int size, const char *format, ...)
{
    if (!text || !format || size < 2)
        return 0;
    va_list args;
    va_start(args, format);
    const int placed = vsnprintfx(text, size, format, args);
    va_end(args);
    return placed;
}

int snprintfadd(char *text, int size, const char *format, ...)
{
    if (!text || !format || size < 2)
        return 0;
    const int length = int(strnlen(text, size_t(size)));
    if (length >= size - 2)
        return length;
    va_list args;
    va_start(args, format);
    const int placed = vsnprintfx(text + length, size - length, format, args);
    va_end(args);
    return length + placed;
}
