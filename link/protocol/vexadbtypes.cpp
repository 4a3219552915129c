#include "vexadbtypes.h"
#include "vexadbtypes_p.h"

#include "vexasupport.h"

#include <arpa/inet.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const vexadb_code_text typeNames[] = {
    {VEXADB_VOID, "VOID"},     {VEXADB_STRING, "STRING"}, {VEXADB_INT, "INT"},
    {VEXADB_INT64, "INT64"},   {VEXADB_IPADDR, "IPADDR"}, {VEXADB_PWD, "PWD"},
    {VEXADB_BINARY, "BINARY"}, {VEXADB_PORT, "PORT"},     {VEXADB_IDLIST, "IDLIST"},
    {0, nullptr},
};

enum { ListLengthBytes = 4 };

// strtol's reading: white space, a sign, digits up to the first other character.
long decimal(const char *text)
{
    return strtol(text, nullptr, 10);
}

template<typename T>
int storeValue(const T &number, void *value, int size)
{
    if (size < int(sizeof number))
        return 0;
    memcpy(value, &number, sizeof number);
    return int(sizeof number);
}

template<typename T>
T loadValue(const void *value)
{
    T number;
    memcpy(&number, value, sizeof number);
    return number;
}

int hexNibble(unsigned char c)
{
    // Deliberately unchecked: upper and lower case letters give the same value.
    return c > 64 ? (c & 0xDF) - 55 : c - 48;
}

int copyText(const char *source, char *text, int size)
{
    const size_t needed = strlen(source) + 1;
    if (needed > size_t(size))
        return 0;
    memcpy(text, source, needed);
    return int(needed);
}

int binaryFromHex(const char *text, void *value, int size)
{
    const size_t length = strlen(text);
    if (length % 2 != 0 || length / 2 > size_t(size))
        return 0;
    auto *bytes = static_cast<unsigned char *>(value);
    const auto *hex = reinterpret_cast<const unsigned char *>(text);
    for (size_t i = 0; i < length / 2; ++i)
        bytes[i] = static_cast<unsigned char>(hexNibble(hex[2 * i]) << 4 | hexNibble(hex[2 * i + 1]));
    return int(length / 2);
}

// Items that would not leave room for themselves and the closing zero are
// dropped with everything after them.
int listFromText(const char *text, void *value, int size)
{
    if (size < ListLengthBytes)
        return 0;
    auto *out = static_cast<unsigned char *>(value);
    long long used = 0;
    const char *item = text;
    for (;;) {
        const char *comma = strchr(item, ',');
        const size_t length = comma ? size_t(comma - item) : strlen(item);
        if (used + ListLengthBytes + (long long)length + 1 + ListLengthBytes > size)
            break;
        const int32_t itemLength = int32_t(length + 1);
        memcpy(out + used, &itemLength, ListLengthBytes);
        used += ListLengthBytes;
        memcpy(out + used, item, length);
        used += (long long)length;
        out[used++] = '\0';
        if (!comma)
            break;
        item = comma + 1;
    }
    const int32_t end = 0;
    memcpy(out + used, &end, ListLengthBytes);
    return int(used + ListLengthBytes);
}

int refuse(char *text)
{
    text[0] = '\0';
    return 0;
}

// Every item is checked against valuelen before it is read: a list whose
// lengths run past the value, or that has no end inside it, is refused.
int listToText(char *text, int size, const void *value, int valuelen)
{
    const auto *in = static_cast<const unsigned char *>(value);
    long long offset = 0;
    long long written = 0;
    bool first = true;
    for (;;) {
        if (offset + ListLengthBytes > valuelen)
            return refuse(text);
        const int32_t itemLength = loadValue<int32_t>(in + offset);
        offset += ListLengthBytes;
        if (itemLength == 0)
            break;
        if (itemLength < 1 || itemLength > valuelen - offset)
            return refuse(text);
        const char *item = reinterpret_cast<const char *>(in + offset);
        const size_t characters = strnlen(item, size_t(itemLength - 1));
        const long long separator = first ? 0 : 1;
        if (written + separator + (long long)characters + 1 > size)
            return refuse(text);
        if (!first)
            text[written++] = ',';
        first = false;
        memcpy(text + written, item, characters);
        written += (long long)characters;
        text[written] = '\0';
        offset += itemLength;
    }
    return int(written + 1);
}

int hexFromBinary(char *text, int size, const void *value, int valuelen)
{
    if (valuelen < 0 || 2LL * valuelen + 1 > size)
        return 0;
    static const char digits[] = "0123456789abcdef";
    const auto *bytes = static_cast<const unsigned char *>(value);
    for (int i = 0; i < valuelen; ++i) {
        text[2 * i] = digits[bytes[i] >> 4];
        text[2 * i + 1] = digits[bytes[i] & 0x0f];
    }
    text[2 * valuelen] = '\0';
    return 2 * valuelen + 1;
}

// The result of a snprintf into text: its length with the NUL, or 0 and an
// empty text when it did not fit.
int formatted(char *text, int size, int wanted)
{
    if (wanted < 0 || wanted + 1 > size)
        return refuse(text);
    return wanted + 1;
}

} // namespace

const char *vexadb_lookup_text(const vexadb_code_text *table, int code, const char *fallback)
{
    for (const vexadb_code_text *entry = table; entry && entry->text; ++entry) {
        if (entry->code == code)
            return entry->text;
    }
    return fallback;
}

const char *vexadb_type_desc(int type)
{
    return vexadb_lookup_text(typeNames, type, "UNKNOWN");
}

int vexadb_str2val(int type, const char *text, void *value, int size)
{
    if (!text || !value || size < 1)
        return 0;
    switch (type) {
    case VEXADB_STRING:
    case VEXADB_PWD:
        return copyText(text, static_cast<char *>(value), size);
    case VEXADB_INT:
        // The low 32 bits, so "4294967295" (how -1 reads back) gives -1 again.
        return storeValue(static_cast<int32_t>(decimal(text)), value, size);
    case VEXADB_INT64:
        return storeValue(static_cast<int64_t>(atoi64(text)), value, size);
    case VEXADB_IPADDR:
        return storeValue(static_cast<uint32_t>(inet_addr(text)), value, size);
    case VEXADB_BINARY:
        return binaryFromHex(text, value, size);
    case VEXADB_PORT:
        return storeValue(htons(static_cast<uint16_t>(decimal(text))), value, size);
    case VEXADB_IDLIST:
        return listFromText(text, value, size);
    default:
        return 0;
    }
}

int vexadb_val2str(int type, char *text, int size, const void *value, int valuelen)
{
    if (!text || size < 1)
        return 0;
    text[0] = '\0';
    if (!value)
        return 0;
    switch (type) {
    case VEXADB_STRING:
    case VEXADB_PWD:
        return copyText(static_cast<const char *>(value), text, size);
    case VEXADB_INT:
        return formatted(text, size, snprintf(text, size_t(size), "%lu",
                                              static_cast<unsigned long>(loadValue<uint32_t>(value))));
    case VEXADB_INT64: {
        char digits[72];
        i64toa(loadValue<int64_t>(value), digits, 10);
        return formatted(text, size, snprintf(text, size_t(size), "%s", digits));
    }
    case VEXADB_IPADDR: {
        const auto *bytes = static_cast<const unsigned char *>(value);
        return formatted(text, size, snprintf(text, size_t(size), "%hu.%hu.%hu.%hu",
                                              static_cast<unsigned short>(bytes[0]),
                                              static_cast<unsigned short>(bytes[1]),
                                              static_cast<unsigned short>(bytes[2]),
                                              static_cast<unsigned short>(bytes[3])));
    }
    case VEXADB_BINARY:
        return hexFromBinary(text, size, value, valuelen);
    case VEXADB_PORT:
        return formatted(text, size, snprintf(text, size_t(size), "%hu",
                                              static_cast<unsigned short>(ntohs(loadValue<uint16_t>(value)))));
    case VEXADB_IDLIST:
        return listToText(text, size, value, valuelen);
    default:
        return 0;
    }
}
