// Arbitrary bytes as an update datagram: the first two bytes give the caller's
// capacity, the rest is the datagram as it was sent. Only what fits the
// receive buffer is received, as recv does; the size it had is reported whole.

#include "vexadbparse_p.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const int capacity = data[0] << 8 | data[1];
    const uint8_t *datagram = data + 2;
    const long length = long(size - 2);
    const size_t received = length < VEXADB_DATAGRAM_MAX ? size_t(length) : size_t(VEXADB_DATAGRAM_MAX);

    auto *receiveBuffer = static_cast<unsigned char *>(malloc(received ? received : 1));
    memcpy(receiveBuffer, datagram, received);
    auto *buffer = static_cast<unsigned char *>(malloc(capacity ? size_t(capacity) : 1));
    int len = capacity;
    vexadb_take_datagram(VEXADB_PROTOCOL_VERSION, receiveBuffer, length, buffer, &len);

    // Delivered: the whole datagram but its version byte, and only then.
    const bool whole = length > 1 && length <= VEXADB_DATAGRAM_MAX && length <= capacity
                       && datagram[0] == VEXADB_PROTOCOL_VERSION;
    if (len != (whole ? int(length - 1) : 0))
        abort();
    if (len > 0 && memcmp(buffer, datagram + 1, size_t(len)) != 0)
        abort();
    free(buffer);
    free(receiveBuffer);
    return 0;
}
