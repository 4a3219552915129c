#pragma once

#include <QtGlobal>

#include <optional>

// The server announces a changed log through the update channel: a datagram body holding
// records laid end to end, each a log id byte, a payload length byte and the payload, whose
// first eight bytes are the log's first and end line numbers (32-bit, big-endian).
struct LogUpdate
{
    quint32 first = 0; // server line number of the log's first line
    quint32 end = 0;   // one past its last line
};

// The first record of the log logId in the len bytes at data. The id byte is read unsigned,
// so logs 0 to 255 can match; an id outside that range matches no record, since a byte
// cannot name it. Nothing when no record matches, when the matching record is shorter than
// its two line numbers, or when those run past len: a truncated datagram is not read beyond
// its end.
std::optional<LogUpdate> findLogUpdate(const char* data, int len, int logId);
