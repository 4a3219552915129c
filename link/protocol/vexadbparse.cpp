#include "vexadbparse_p.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

// The block is taken apart where it lies: lengths and numbers are turned to
// host order in place and the result points into it. Every length is checked
// against the bytes that remain before it is followed, so a block that lies
// about itself is refused without a read or write outside it.

namespace {

enum {
    Refused = VEXADB_ELIBRARY,
    HeaderFixedBytes = 16,   // H, kind, NC, NR and the two spare words
    LengthBytes = 4,
    DescriptorFixedMin = 3,  // P itself, the type and the flags
};

// Values inside the block have no alignment: copy, never cast.
void storeHost32(unsigned char *p, uint32_t value)
{
    memcpy(p, &value, sizeof value);
}

void swapToHost32(unsigned char *p)
{
    storeHost32(p, vexadb_load_be32(p));
}

void swapToHost64(unsigned char *p)
{
    const uint64_t value = uint64_t(vexadb_load_be32(p)) << 32 | vexadb_load_be32(p + 4);
    memcpy(p, &value, sizeof value);
}

// A list is items of {length, bytes} ended by a zero length, all inside the
// cell. An empty cell is a null list.
int convertList(unsigned char *cell, uint32_t size)
{
    if (size == 0)
        return 0;
    uint32_t at = 0;
    for (;;) {
        if (size - at < LengthBytes)
            return Refused;  // no room for the next length: the end word is missing
        const uint32_t item = vexadb_load_be32(cell + at);
        storeHost32(cell + at, item);
        at += LengthBytes;
        if (item == 0)
            return 0;
        if (item > size - at)
            return Refused;
        at += item;
    }
}

// A number needs its whole width; an empty cell is a null number.
int convertNumber(unsigned char *cell, uint32_t size, uint32_t width)
{
    if (size == 0)
        return 0;
    if (size < width)
        return Refused;
    if (width == 4)
        swapToHost32(cell);
    else
        swapToHost64(cell);
    return 0;
}

int convertCell(int type, unsigned char *cell, uint32_t size)
{
    switch (type) {
    case VEXADB_INT:
        return convertNumber(cell, size, 4);
    case VEXADB_INT64:
        return convertNumber(cell, size, 8);
    case VEXADB_IDLIST:
        return convertList(cell, size);
    default:  // addresses and ports stay in network order; texts and bytes as they are
        return 0;
    }
}

int walkDescriptors(vexadb_result *res, uint32_t start, uint32_t end)
{
    unsigned char *data = res->data;
    uint32_t at = start;
    for (uint32_t c = 0; c < res->ncols; ++c) {
        if (end - at < 1)
            return Refused;
        const uint32_t fixed = data[at];
        if (fixed < DescriptorFixedMin || end - at < fixed + LengthBytes)
            return Refused;
        const uint32_t nameLength = vexadb_load_be32(data + at + fixed);
        const uint32_t nameAt = at + fixed + LengthBytes;
        if (nameLength > end - nameAt || !memchr(data + nameAt, 0, nameLength))
            return Refused;
        res->cols[c] = data + at;
        at = nameAt + nameLength;
    }
    return 0;
}

// Walked with a pointer rather than an offset into the block: each cell's place depends on
// the length word before it, and an offset would add the block's address into that chain of
// dependent steps once per cell. The pointer never passes `stop`: it moves only over bytes
// just checked to remain.
int walkRows(vexadb_result *res, uint32_t start, uint32_t end)
{
    unsigned char *at = res->data + start;
    unsigned char *const stop = res->data + end;
    for (uint32_t r = 0; r < res->nrows; ++r) {
        res->rows[r] = at;
        for (uint32_t c = 0; c < res->ncols; ++c) {
            if (size_t(stop - at) < LengthBytes)
                return Refused;
            const uint32_t size = vexadb_load_be32(at);
            storeHost32(at, size);
            at += LengthBytes;
            if (size > size_t(stop - at))
                return Refused;
            if (const int refused = convertCell(res->cols[c][1], at, size))
                return refused;
            at += size;
        }
    }
    return 0;
}

// Rows without columns hold no cell a row pointer could lead to, and their
// count alone could ask for any amount of memory: they get no row table.
int allocateTables(vexadb_result *res)
{
    const size_t rowPointers = res->ncols > 0 ? res->nrows : 0;
    const size_t count = rowPointers + res->ncols;
    if (count == 0)
        return 0;
    auto **tables = static_cast<unsigned char **>(malloc(count * sizeof(unsigned char *)));
    if (!tables) {
        errno = ENOMEM;
        return VEXADB_ESYSTEM;
    }
    res->tables = tables;
    res->rows = rowPointers > 0 ? tables : nullptr;
    res->cols = tables + rowPointers;
    return 0;
}

void takeFixedFields(vexadb_result *res, unsigned char *data)
{
    res->data = data;
    res->kind = data[1];
    res->ncols = vexadb_load_be16(data + 2);
    res->nrows = vexadb_load_be32(data + 4);
    res->spare1 = vexadb_load_be32(data + 8);
    res->spare2 = vexadb_load_be32(data + 12);
}

int parseRowSet(vexadb_result *res, uint32_t size)
{
    unsigned char *data = res->data;
    const uint32_t descriptorSizeAt = 4 * uint32_t(data[0]);
    // A header shorter than its own fixed fields would read the descriptor
    // area's size out of them.
    if (descriptorSizeAt < HeaderFixedBytes || descriptorSizeAt > size
        || size - descriptorSizeAt < LengthBytes)
        return Refused;
    const uint32_t descriptorsAt = descriptorSizeAt + LengthBytes;
    res->desc = data + descriptorsAt;

    const uint32_t descriptorBytes = vexadb_load_be32(data + descriptorSizeAt);
    if (descriptorBytes > size - descriptorsAt)
        return Refused;
    const uint32_t rowsAt = descriptorsAt + descriptorBytes;
    // Each row holds at least a length word per column; checked before the
    // row table is allocated, so a row count cannot ask for more memory than
    // the block could describe.
    if (uint64_t(res->nrows) * LengthBytes * res->ncols > uint64_t(size - rowsAt))
        return Refused;

    if (const int failed = allocateTables(res))
        return failed;
    if (const int refused = walkDescriptors(res, descriptorsAt, rowsAt))
        return refused;
    if (res->ncols > 0) {
        if (const int refused = walkRows(res, rowsAt, size))
            return refused;
    }
    return 0;
}

int parseInto(vexadb_result *res, unsigned char *data, uint32_t size)
{
    if (!data || size < HeaderFixedBytes)
        return Refused;
    takeFixedFields(res, data);
    // Another kind carries nothing past its fixed fields that anyone reads,
    // not even the descriptor area's size.
    if (res->kind == VEXADB_KIND_ROWSET) {
        if (const int failed = parseRowSet(res, size))
            return failed;
    }
    res->valid = 1;
    return 0;
}

} // namespace

void vexadb_decode_answer_header(const unsigned char *bytes, vexadb_answer_header *header)
{
    header->word0 = vexadb_load_be32(bytes);
    header->size = vexadb_load_be32(bytes + 4);
    header->status = vexadb_load_be32(bytes + 8);
    header->detail = vexadb_load_be32(bytes + 12);
}

int vexadb_parse_block(vexadb_result *res, unsigned char *data, uint32_t size)
{
    memset(res, 0, sizeof *res);
    const int result = parseInto(res, data, size);
    if (result != 0) {
        free(res->tables);
        free(data);
        memset(res, 0, sizeof *res);
    }
    return result;
}

void vexadb_take_datagram(unsigned char version, const unsigned char *datagram, long length,
                          void *buf, int *len)
{
    if (!len)
        return;
    const int capacity = *len;
    *len = 0;
    // Longer than the receive buffer means it arrived cut: drop it, never
    // deliver the truncated part.
    if (!datagram || !buf || length <= 1 || length > VEXADB_DATAGRAM_MAX || length > capacity)
        return;
    if (datagram[0] != version)
        return;
    memcpy(buf, datagram + 1, size_t(length - 1));
    *len = int(length - 1);
}
