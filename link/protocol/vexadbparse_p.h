#pragma once

// The parts of the protocol client that work on bytes alone, without a socket:
// the answer header, the data block parse and the update datagram check. The
// session code uses them, and so do the fuzz targets.

#include "vexadb.h"

#include <cstdint>

// Integers in the protocol's byte order, big-endian, at any alignment.
inline uint32_t vexadb_load_be32(const unsigned char *p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

inline uint16_t vexadb_load_be16(const unsigned char *p)
{
    return uint16_t(p[0] << 8 | p[1]);
}

inline void vexadb_store_be32(unsigned char *p, uint32_t value)
{
    p[0] = static_cast<unsigned char>(value >> 24);
    p[1] = static_cast<unsigned char>(value >> 16);
    p[2] = static_cast<unsigned char>(value >> 8);
    p[3] = static_cast<unsigned char>(value);
}

constexpr int VEXADB_ANSWER_HEADER = 16;

// The largest data block an answer may announce; anything larger is refused
// before a byte of it is allocated.
constexpr uint32_t VEXADB_MAX_BLOCK = 256u << 20;

struct vexadb_answer_header
{
    uint32_t word0;   // not interpreted
    uint32_t size;    // D: bytes of the data block that follows (with status 0)
    uint32_t status;  // 0 success, else an error code
    uint32_t detail;  // with a non-zero status, the error number to keep
};

void vexadb_decode_answer_header(const unsigned char *bytes, vexadb_answer_header *header);

// Parses a data block of size bytes in place into res (cleared first). The
// result takes the block over: data must come from malloc and is released with
// the result, or at once when the parse fails. 0 with res valid; 2 when any
// length would reach outside the block; 1 with errno set when the row and
// column tables cannot be allocated.
int vexadb_parse_block(vexadb_result *res, unsigned char *data, uint32_t size);

// Checks one received datagram and delivers it: length is the size it had on
// the wire (which may exceed what was received into datagram when it was too
// long for the receive buffer). On entry *len is buf's capacity; on return the
// bytes delivered, 0 when the datagram is dropped.
void vexadb_take_datagram(unsigned char version, const unsigned char *datagram, long length,
                          void *buf, int *len);
