#include "vexasupport.h"

#include <arpa/inet.h>
#include <strings.h>

#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

// Where the text between the first `open` and the next `close` lies; false
// when either is missing.
bool findEnclosed(const char *text, char open, char close, const char **begin, size_t *length)
{
    if (!text || open == '\0' || close == '\0')
        return false;
    const char *opening = strchr(text, open);
    if (!opening)
        return false;
    const char *closing = strchr(opening + 1, close);
    if (!closing)
        return false;
    *begin = opening + 1;
    *length = size_t(closing - opening - 1);
    return true;
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

int hexDigitValue(unsigned char c)
{
    return isdigit(c) ? c - '0' : tolower(c) - 'a' + 10;
}

} // namespace

char *strip(char *text, uint32_t address)
{
    if (!text)
        return nullptr;
    unsigned char bytes[4];
    memcpy(bytes, &address, sizeof bytes);
    snprintf(text, 16, "%u.%u.%u.%u", bytes[0], bytes[1], bytes[2], bytes[3]);
    return text;
}

char *stripport(char *text, uint32_t address, uint16_t port)
{
    if (!strip(text, address))
        return nullptr;
    const size_t length = strlen(text);
    snprintf(text + length, 22 - length, ":%u", unsigned(ntohs(port)));
    return text;
}

char *ip_string(uint32_t address)
{
    static char shared[16];
    return strip(shared, address);
}

int strreplchr(char *text, char from, char to)
{
    if (!text || from == '\0')
        return 0;
    int replaced = 0;
    for (char *p = text; *p; ++p) {
        if (*p == from) {
            *p = to;
            ++replaced;
        }
    }
    return replaced;
}

char *strextr(char *out, const char *text, int size, char open, char close)
{
    if (!out || size < 1)
        return nullptr;
    out[0] = '\0';
    const char *begin = nullptr;
    size_t length = 0;
    if (!findEnclosed(text, open, close, &begin, &length) || length + 2 > size_t(size))
        return nullptr;
    memcpy(out, begin, length);
    out[length] = '\0';
    return out;
}

int strgetstr(const char *text, char open, char close, char *out, int size)
{
    return strextr(out, text, size, open, close) ? 1 : 0;
}

int strstrip(char *text, char open, char close)
{
    const char *begin = nullptr;
    size_t length = 0;
    if (!findEnclosed(text, open, close, &begin, &length))
        return 0;
    memmove(text, begin, length);
    text[length] = '\0';
    return 1;
}

void strremovestr(char *text, char open, char close)
{
    const char *begin = nullptr;
    size_t length = 0;
    while (findEnclosed(text, open, close, &begin, &length)) {
        char *opening = const_cast<char *>(begin) - 1;
        const char *after = begin + length + 1;
        memmove(opening, after, strlen(after) + 1);
    }
}

void strremovechr(char *text, const char *set)
{
    if (!text || !set)
        return;
    char *kept = text;
    for (const char *p = text; *p; ++p) {
        if (!charinstr(*p, set))
            *kept++ = *p;
    }
    *kept = '\0';
}

int strreplstr(char *text, int size, const char *needle, const char *replacement)
{
    if (!text || !needle || !*needle || !replacement || size < 1)
        return 0;
    size_t length = strnlen(text, size_t(size));
    if (length >= size_t(size))
        return 0;
    const size_t needleLength = strlen(needle);
    const size_t replacementLength = strlen(replacement);
    int replaced = 0;
    char *from = text;
    while (char *hit = strstr(from, needle)) {
        const size_t newLength = length - needleLength + replacementLength;
        if (newLength + 1 > size_t(size))
            break;
        const size_t tail = length - size_t(hit - text) - needleLength;
        memmove(hit + replacementLength, hit + needleLength, tail + 1);
        memcpy(hit, replacement, replacementLength);
        length = newLength;
        from = hit + replacementLength;
        ++replaced;
    }
    return replaced;
}

int strinsertstr(char *text, int size, const char *insert, int position)
{
    if (!text || !insert || size < 1)
        return 0;
    const size_t length = strnlen(text, size_t(size));
    if (length + 1 > size_t(size) || position < 0 || size_t(position) > length)
        return 0;
    const size_t at = size_t(position);
    const size_t room = size_t(size) - 1;  // characters the result may keep
    const size_t insertLength = strlen(insert);
    const size_t keptInsert = insertLength < room - at ? insertLength : room - at;
    const size_t tailStart = at + keptInsert;
    size_t keptTail = 0;
    if (tailStart < room) {
        keptTail = length - at;
        if (keptTail > room - tailStart)
            keptTail = room - tailStart;
        memmove(text + tailStart, text + at, keptTail);
    }
    memcpy(text + at, insert, keptInsert);
    text[tailStart + keptTail] = '\0';
    return 1;
}

void strrmln(char *text)
{
    if (!text)
        return;
    size_t length = strlen(text);
    if (length > 0 && text[length - 1] == '\n')
        text[--length] = '\0';
    if (length > 0 && text[length - 1] == '\r')
        text[--length] = '\0';
}

char *strlwr(char *text)
{
    if (!text)
        return nullptr;
    for (char *p = text; *p; ++p)
        *p = char(tolower(static_cast<unsigned char>(*p)));
    return text;
}

char *strncpys(char *out, const char *text, int n)
{
    if (!out || n < 1)
        return out;
    int i = 0;
    for (; text && i < n - 1 && text[i]; ++i)
        out[i] = text[i];
    // Filled up to n like strncpy, so no stale bytes follow the text.
    for (; i < n; ++i)
        out[i] = '\0';
    return out;
}

int strbeginstr(const char *text, const char *prefix)
{
    if (!text || !prefix)
        return -1;
    const size_t length = strlen(prefix);
    if (strnlen(text, length) < length)
        return -1;
    return sign(memcmp(text, prefix, length));
}

int stribeginstr(const char *text, const char *prefix)
{
    if (!text || !prefix)
        return -1;
    const size_t length = strlen(prefix);
    if (strnlen(text, length) < length)
        return -1;
    return strncasecmp(text, prefix, length);
}

char *strsize(char *text, long long count)
{
    if (!text)
        return nullptr;
    enum : long long { KB = 1024, MB = 1024 * KB, GB = 1024 * MB };
    const size_t room = 32;
    if (count <= KB)
        snprintf(text, room, "%lu B", static_cast<unsigned long>(static_cast<uint32_t>(count)));
    else if (count <= MB)
        snprintf(text, room, "%.2f kB", double(count) / double(KB));
    else if (count <= GB)
        snprintf(text, room, "%.2f MB", double(count) / double(MB));
    else
        snprintf(text, room, "%.2f GB", double(count) / double(GB));
    return text;
}

char *strsecond(unsigned long seconds, char *text)
{
    if (!text)
        return nullptr;
    const unsigned long days = seconds / 86400;
    const unsigned long hours = seconds % 86400 / 3600;
    const unsigned long minutes = seconds % 3600 / 60;
    const unsigned long rest = seconds % 60;
    const size_t room = 40;
    if (days == 0)
        snprintf(text, room, "%02lu:%02lu:%02lu", hours, minutes, rest);
    else
        snprintf(text, room, "%lu day%s %02lu:%02lu:%02lu", days, days == 1 ? "" : "s", hours,
                 minutes, rest);
    return text;
}

char *strhex(char *text, int size, char separator, const unsigned char *data, int len)
{
    if (!text || size < 1)
        return text;
    text[0] = '\0';
    if (!data || len < 0 || (long long)size < 3LL * len)
        return text;
    static const char digits[] = "0123456789abcdef";
    char *p = text;
    for (int i = 0; i < len; ++i) {
        // A NUL separator would end the text after the first byte.
        if (i > 0 && separator != '\0')
            *p++ = separator;
        *p++ = digits[data[i] >> 4];
        *p++ = digits[data[i] & 0x0f];
    }
    *p = '\0';
    return text;
}

unsigned long simple_strtoul(const char *text, char **end, unsigned int base)
{
    if (!text) {
        if (end)
            *end = nullptr;
        return 0;
    }
    const unsigned char *p = reinterpret_cast<const unsigned char *>(text);
    if (base == 0) {
        if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && isxdigit(p[2])) {
            base = 16;
            p += 2;
        } else if (p[0] == '0') {
            base = 8;
        } else {
            base = 10;
        }
    }
    unsigned long value = 0;
    while (isxdigit(*p)) {
        const unsigned int digit = unsigned(hexDigitValue(*p));
        if (digit >= base)
            break;
        value = value * base + digit;
        ++p;
    }
    if (end)
        *end = reinterpret_cast<char *>(const_cast<unsigned char *>(p));
    return value;
}

int charinstr(char c, const char *set)
{
    if (!set || c == '\0')
        return 0;
    return strchr(set, c) ? 1 : 0;
}
