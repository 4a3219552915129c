#include "vexadb.h"
#include "vexadbtypes_p.h"

#include <cstring>

namespace {

const vexadb_code_text errorTexts[] = {
    {VEXADB_OK, "Function call was successful"},
    {VEXADB_ESYSTEM, "System or socket error"},
    {VEXADB_ELIBRARY, "Library error (e.g. internal error)"},
    {VEXADB_EPARAM, "Invalid parameter(s)"},
    {VEXADB_ELIMIT, "List maximum size exceeded"},
    {VEXADB_ENOMEM, "Library resources exhausted, try again later"},
    {VEXADB_EAUTH, "Authentication failed"},
    {VEXADB_EVERSION, "Server uses different library version"},
    {VEXADB_ECONNECTED, "Still connected; disconnect first"},
    {VEXADB_EPARSE, "SQL query parse error"},
    {VEXADB_EWRONGQUERY, "Wrong SQL query"},
    {VEXADB_EINTERNAL, "SQL internal error"},
    {VEXADB_ENOTABLE, "Table does not exists"},
    {VEXADB_ENOFUNCTION, "Function does not exists"},
    {VEXADB_ENOTPOSSIBLE, "Query not possible"},
    {VEXADB_EBUFFER, "Buffer is small or inproper size"},
    {VEXADB_EACCESS, "Access denied"},
    {VEXADB_ENOCOLUMN, "Column does not exists"},
    {VEXADB_EKEYFILE, "Problems with key file or key generation failed. see error code "},
    {0, nullptr},
};

char escapeLetter(char c)
{
    switch (c) {
    case '\t':
        return 't';
    case '\n':
        return 'n';
    case '\r':
        return 'r';
    case '\'':
    case '"':
    case '\\':
        return c;
    default:
        return 0;
    }
}

} // namespace

const char *vexadb_error_desc(int code)
{
    return vexadb_lookup_text(errorTexts, code, "UNKNOWN");
}

int vexadb_escape_string(const char *src, char *dst, int size)
{
    if (!dst || size <= 0)
        return 0;
    memset(dst, 0, std::size_t(size));
    if (!src)
        return 0;
    int written = 0;
    // Stopping at size - 2 leaves room for an escape pair and the zero byte.
    for (; *src && written < size - 2; ++src) {
        if (const char letter = escapeLetter(*src)) {
            dst[written++] = '\\';
            dst[written++] = letter;
        } else {
            dst[written++] = *src;
        }
    }
    return written;
}
