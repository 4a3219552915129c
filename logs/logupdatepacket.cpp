#include "logupdatepacket.h"

namespace {

constexpr int RecordHeader = 2;
constexpr int LineNumbersSize = 8;

quint32 bigEndian32(const char* bytes)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    return (quint32(b[0]) << 24) | (quint32(b[1]) << 16) | (quint32(b[2]) << 8) | quint32(b[3]);
}

} // namespace

std::optional<LogUpdate> findLogUpdate(const char* data, int len, int logId)
{
    if (!data)
        return std::nullopt;
    int pos = 0;
    while (pos < len) {
        const int id = static_cast<unsigned char>(data[pos]);
        if (pos + 1 >= len)
            return std::nullopt; // the length byte is missing
        const int payload = static_cast<unsigned char>(data[pos + 1]);
        if (id == logId) {
            if (payload < LineNumbersSize || pos + RecordHeader + LineNumbersSize > len)
                return std::nullopt;
            const char* numbers = data + pos + RecordHeader;
            return LogUpdate{bigEndian32(numbers), bigEndian32(numbers + 4)};
        }
        pos += RecordHeader + payload;
    }
    return std::nullopt;
}
