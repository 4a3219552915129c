#include "vexadbparse_p.h"
#include "vexadbsocket_p.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <strings.h>

// Statements and their answers. Once vexadb_parse_block accepted a block,
// every cell of every row lies inside it with its length word in host order,
// so the accessors below may walk the cells without checking again.

namespace {

enum {
    StatementCommand = 1,
    StatementHeader = 12,
    LengthBytes = 4,
};

uint32_t loadHost32(const unsigned char *p)
{
    uint32_t value;
    memcpy(&value, p, sizeof value);
    return value;
}

bool isRowSet(const vexadb_result *res)
{
    return res && res->valid && res->kind == VEXADB_KIND_ROWSET;
}

// An answer of another kind has neither row nor column table.
uint32_t rowCount(const vexadb_result *res)
{
    return isRowSet(res) ? res->nrows : 0;
}

bool validColumn(const vexadb_result *res, int col)
{
    return isRowSet(res) && col >= 0 && col < res->ncols;
}

bool validCell(const vexadb_result *res, int row, int col)
{
    return validColumn(res, col) && row >= 0 && uint32_t(row) < rowCount(res);
}

const unsigned char *cellOf(const unsigned char *row, int col, uint32_t *size)
{
    const unsigned char *at = row;
    for (int c = 0; c < col; ++c)
        at += LengthBytes + loadHost32(at);
    *size = loadHost32(at);
    return at + LengthBytes;
}

int columnType(const vexadb_result *res, int col)
{
    return res->cols[col][1];
}

int sendStatement(vexadb_conn *conn, const char *text, uint32_t length)
{
    unsigned char header[StatementHeader] = {StatementCommand};
    vexadb_store_be32(header + 4, length);
    return vexadb_sock_writes(&conn->sock, header, sizeof header)
           && vexadb_sock_writes(&conn->sock, text, int(length));
}

int readAnswer(vexadb_conn *conn, vexadb_result *res)
{
    unsigned char raw[VEXADB_ANSWER_HEADER];
    if (!vexadb_sock_reads(&conn->sock, raw, sizeof raw))
        return vexadb_lose_session(conn, errno, VEXADB_ESYSTEM);
    vexadb_answer_header header;
    vexadb_decode_answer_header(raw, &header);
    if (header.status != 0) {
        // A refusal carries no block; the session goes on.
        conn->lasterror = int(header.detail);
        return int(header.status);
    }
    // Refused before allocating: the size is the server's word alone. The block
    // stays unread, so the stream is out of step: the session is lost.
    if (header.size > VEXADB_MAX_BLOCK)
        return vexadb_lose_session(conn, EMSGSIZE, VEXADB_ESYSTEM);
    auto *data = static_cast<unsigned char *>(malloc(header.size ? header.size : 1));
    if (!data)
        return vexadb_lose_session(conn, ENOMEM, VEXADB_ESYSTEM);
    if (!vexadb_sock_reads(&conn->sock, data, int(header.size))) {
        const int error = errno;
        free(data);
        return vexadb_lose_session(conn, error, VEXADB_ESYSTEM);
    }
    switch (vexadb_parse_block(res, data, header.size)) {
    case VEXADB_OK:
        return VEXADB_OK;
    case VEXADB_ESYSTEM:
        // Reported as 1, which every caller takes for a lost session: so it is.
        return vexadb_lose_session(conn, ENOMEM, VEXADB_ESYSTEM);
    default:
        // The whole declared block was read: the stream is still in step, and
        // only this request fails.
        conn->lasterror = EBADMSG;
        return VEXADB_ELIBRARY;
    }
}

// Cells of the sort column. Numbers sort by their value: INT as the unsigned
// word the buffer holds (so -1 sorts after every positive number), addresses
// and ports (kept in network order) by address and port. A cell too short for
// its number is null and sorts first.
struct SortColumn
{
    int col;
    int type;
};

struct SortKey
{
    bool present;
    int64_t value;
};

SortKey numberOf(int type, const unsigned char *cell, uint32_t size)
{
    switch (type) {
    case VEXADB_INT:
        if (size >= 4)
            return {true, int64_t(loadHost32(cell))};
        break;
    case VEXADB_IPADDR:
        if (size >= 4)
            return {true, int64_t(vexadb_load_be32(cell))};
        break;
    case VEXADB_PORT:
        if (size >= 2)
            return {true, int64_t(cell[0] << 8 | cell[1])};
        break;
    }
    return {false, 0};
}

int compareNumbers(const SortKey &a, const SortKey &b)
{
    if (a.present != b.present)
        return a.present ? 1 : -1;
    return a.value < b.value ? -1 : (a.value > b.value ? 1 : 0);
}

// strcasecmp over cells that need not end in a zero byte.
int compareTextIgnoringCase(const unsigned char *a, uint32_t sizeA, const unsigned char *b,
                            uint32_t sizeB)
{
    for (uint32_t i = 0;; ++i) {
        const int ca = tolower(i < sizeA ? a[i] : 0);
        const int cb = tolower(i < sizeB ? b[i] : 0);
        if (ca != cb || ca == 0)
            return ca - cb;
    }
}

int compareRows(const void *left, const void *right, void *context)
{
    const auto *column = static_cast<const SortColumn *>(context);
    uint32_t sizeA = 0;
    uint32_t sizeB = 0;
    const unsigned char *a = cellOf(*static_cast<unsigned char *const *>(left), column->col, &sizeA);
    const unsigned char *b = cellOf(*static_cast<unsigned char *const *>(right), column->col, &sizeB);
    switch (column->type) {
    case VEXADB_STRING:
        return compareTextIgnoringCase(a, sizeA, b, sizeB);
    case VEXADB_INT:
    case VEXADB_IPADDR:
    case VEXADB_PORT:
        return compareNumbers(numberOf(column->type, a, sizeA), numberOf(column->type, b, sizeB));
    default:
        return 0;
    }
}

} // namespace

int vexadb_send_query(vexadb_handle h, const char *text, vexadb_result *res)
{
    if (!res)
        return VEXADB_EPARAM;
    memset(res, 0, sizeof *res);
    vexadb_conn *conn = cl_get(h);
    if (!conn || !text)
        return VEXADB_EPARAM;
    const std::size_t length = strlen(text) + 1;
    if (length > std::size_t(INT_MAX))
        return VEXADB_EPARAM;
    if (conn->lost) {
        conn->lasterror = ENOTCONN;
        return VEXADB_ESYSTEM;
    }
    if (!sendStatement(conn, text, uint32_t(length)))
        return vexadb_lose_session(conn, errno, VEXADB_ESYSTEM);
    return readAnswer(conn, res);
}

int vexadb_read_result(const vexadb_result *res, int row, int col, void *buf, int *len)
{
    if (!len || !validCell(res, row, col))
        return VEXADB_EPARAM;
    uint32_t size = 0;
    const unsigned char *value = cellOf(res->rows[row], col, &size);
    // A negative capacity holds nothing (read as unsigned it would hold all).
    const uint32_t capacity = *len > 0 ? uint32_t(*len) : 0;
    if (size > capacity) {
        *len = int(size);
        return VEXADB_EBUFFER;
    }
    if (size > 0)
        memcpy(buf, value, size);
    *len = int(size);
    return VEXADB_OK;
}

int vexadb_peek_result(const vexadb_result *res, int row, int col, const void **value,
                       uint32_t *size)
{
    if (!value || !size || !validCell(res, row, col))
        return VEXADB_EPARAM;
    *value = cellOf(res->rows[row], col, size);
    return VEXADB_OK;
}

int vexadb_get_desc(const vexadb_result *res, int col, vexadb_coldesc *d)
{
    if (!d || !validColumn(res, col))
        return VEXADB_EPARAM;
    const unsigned char *desc = res->cols[col];
    d->type = desc[1];
    d->flags = desc[2];
    d->name = reinterpret_cast<const char *>(desc + desc[0] + LengthBytes);
    return VEXADB_OK;
}

int vexadb_get_col_idx(const vexadb_result *res, const char *name)
{
    if (!name || !isRowSet(res))
        return -1;
    vexadb_coldesc desc;
    for (int c = 0; c < res->ncols; ++c) {
        vexadb_get_desc(res, c, &desc);
        if (strcasecmp(desc.name, name) == 0)
            return c;
    }
    return -1;
}

int vexadb_sort_result(vexadb_result *res, int col)
{
    if (!validColumn(res, col))
        return VEXADB_EPARAM;
    if (res->nrows == 0)
        return VEXADB_OK;
    // The column travels with the call, not in process-wide state, so two
    // threads may sort their own results at once.
    SortColumn column = {col, columnType(res, col)};
    qsort_r(res->rows, res->nrows, sizeof *res->rows, compareRows, &column);
    return VEXADB_OK;
}

int vexadb_result_find(const vexadb_result *res, int col, const char *text)
{
    if (!text || !validColumn(res, col) || rowCount(res) == 0
        || columnType(res, col) != VEXADB_STRING)
        return -1;
    const std::size_t wanted = strlen(text);
    for (uint32_t r = 0; r < res->nrows; ++r) {
        uint32_t size = 0;
        const unsigned char *value = cellOf(res->rows[r], col, &size);
        const void *zero = memchr(value, 0, size);
        const std::size_t length = zero ? std::size_t(static_cast<const unsigned char *>(zero) - value) : size;
        if (length == wanted && memcmp(value, text, wanted) == 0)
            return r <= uint32_t(INT_MAX) ? int(r) : -1;
    }
    return -1;
}

int vexadb_free_result(vexadb_result *res)
{
    if (res && res->valid) {
        free(res->data);
        free(res->tables);
        memset(res, 0, sizeof *res);
    }
    return VEXADB_OK;
}
