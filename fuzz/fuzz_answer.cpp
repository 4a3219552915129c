// Arbitrary bytes as a statement answer: the 16-byte header, then the data
// block. A block the parse accepts is then read through every accessor, which
// trust the parse to have kept every length inside the block.

#include "vexadbparse_p.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void readEveryCell(const vexadb_result &res)
{
    // Rows without columns hold nothing to read, however many they are.
    const uint32_t rows = res.kind == VEXADB_KIND_ROWSET && res.ncols > 0 ? res.nrows : 0;
    for (uint32_t r = 0; r < rows; ++r) {
        for (int c = 0; c < res.ncols; ++c) {
            int len = 0;
            if (vexadb_read_result(&res, int(r), c, nullptr, &len) == VEXADB_EBUFFER) {
                // A buffer of exactly the announced length: a copy past it is caught.
                auto *buffer = static_cast<unsigned char *>(malloc(size_t(len)));
                const int capacity = len;
                if (vexadb_read_result(&res, int(r), c, buffer, &len) != 0 || len != capacity)
                    abort();
                free(buffer);
            } else if (len != 0) {
                abort();
            }
        }
    }
}

void lookUpEveryColumn(vexadb_result &res)
{
    for (int c = 0; c < res.ncols; ++c) {
        vexadb_coldesc desc;
        if (vexadb_get_desc(&res, c, &desc) != 0)
            continue;
        const int found = vexadb_get_col_idx(&res, desc.name);
        if (found < 0 || found > c)
            abort();
        vexadb_result_find(&res, c, desc.name);
        vexadb_sort_result(&res, c);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < size_t(VEXADB_ANSWER_HEADER))
        return 0;
    vexadb_answer_header header;
    vexadb_decode_answer_header(data, &header);
    // What the client does before it reads the block: a refusal carries none,
    // and an absurd size is refused unread.
    if (header.status != 0 || header.size > VEXADB_MAX_BLOCK)
        return 0;
    const size_t available = size - VEXADB_ANSWER_HEADER;
    if (header.size > available)
        return 0;  // the stream would still owe bytes: a read, not a parse
    auto *block = static_cast<unsigned char *>(malloc(header.size ? header.size : 1));
    memcpy(block, data + VEXADB_ANSWER_HEADER, header.size);

    vexadb_result res;
    if (vexadb_parse_block(&res, block, header.size) != 0) {
        if (res.valid || res.data || res.tables)
            abort();
        return 0;
    }
    readEveryCell(res);
    lookUpEveryColumn(res);
    readEveryCell(res);  // the sorted row table still points at whole rows
    vexadb_free_result(&res);
    return 0;
}
