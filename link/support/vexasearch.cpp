#include "vexasupport.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

// Patterns up to this length get their failure table on the stack.
enum { StackTableEntries = 256, WildcardPartLimit = 127 };

bool sameIgnoringCase(char a, char b)
{
    return tolower(static_cast<unsigned char>(a)) == tolower(static_cast<unsigned char>(b));
}

void fillRetarget(const char *pattern, size_t length, int *table)
{
    table[0] = -1;
    size_t position = 1;
    int candidate = 0;
    for (; position < length; ++position, ++candidate) {
        if (sameIgnoringCase(pattern[position], pattern[candidate])) {
            table[position] = table[candidate];
        } else {
            table[position] = candidate;
            while (candidate >= 0 && !sameIgnoringCase(pattern[position], pattern[candidate]))
                candidate = table[candidate];
        }
    }
    if (length > 0)
        table[length] = candidate;
}

const char *searchWithOwnTable(const char *text, const char *pattern, int limit)
{
    if (!text || !pattern)
        return nullptr;
    const size_t length = strlen(pattern);
    if (length < StackTableEntries) {
        int table[StackTableEntries];
        fillRetarget(pattern, length, table);
        return kmp_match(text, pattern, limit, table);
    }
    int *table = kmp_compute_retarget(pattern);
    if (!table)
        return nullptr;
    const char *match = kmp_match(text, pattern, limit, table);
    kmp_free_retarget(table);
    return match;
}

} // namespace

int *kmp_compute_retarget(const char *pattern)
{
    if (!pattern)
        return nullptr;
    const size_t length = strlen(pattern);
    auto *table = static_cast<int *>(malloc((length + 1) * sizeof(int)));
    if (table)
        fillRetarget(pattern, length, table);
    return table;
}

void kmp_free_retarget(int *table)
{
    free(table);
}

const char *kmp_match(const char *text, const char *pattern, int limit, const int *table)
{
    if (!text || !pattern || !table)
        return nullptr;
    const int length = int(strlen(pattern));
    if (length == 0)
        return text;
    int at = 0;       // position in text
    int matched = 0;  // characters of the pattern matched so far
    while (text[at]) {
        if (sameIgnoringCase(pattern[matched], text[at])) {
            ++at;
            ++matched;
            if (matched == length)
                return text + at - matched;
            if (limit > 0 && matched >= limit)
                return nullptr;
        } else {
            matched = table[matched];
            if (matched < 0) {
                ++at;
                ++matched;
            }
        }
    }
    return nullptr;
}

const char *stristr(const char *text, const char *pattern)
{
    return searchWithOwnTable(text, pattern, 0);
}

const char *strinstr(const char *text, const char *pattern, int limit)
{
    return searchWithOwnTable(text, pattern, limit);
}

int strwildcmp(const char *text, const char *pattern)
{
    if (!text || !pattern)
        return 1;
    const char *from = text;
    const char *part = pattern;
    while (*part) {
        if (*part == '*') {
            ++part;
            continue;
        }
        const char *partEnd = strchr(part, '*');
        const size_t length = partEnd ? size_t(partEnd - part) : strlen(part);
        if (length >= WildcardPartLimit)
            return 0;
        char segment[WildcardPartLimit];
        memcpy(segment, part, length);
        segment[length] = '\0';
        const char *hit = stristr(from, segment);
        if (!hit)
            return 1;
        from = hit + length;
        part += length;
    }
    return 0;
}
