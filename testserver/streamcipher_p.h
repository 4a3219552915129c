#pragma once

#include <openssl/blowfish.h>

#include <cstddef>

namespace StandIn {

// The session's byte-wise Blowfish feedback stream with its 9-byte cycle: one key
// schedule, one state for the bytes the server sends and one for those it
// receives. Each state starts from the fixed vector and carries on across calls,
// so a message may be processed in chunks of any size.
class StreamCipher
{
public:
    static constexpr int KeyLength = 16;

    explicit StreamCipher(const unsigned char (&key)[KeyLength]);
    ~StreamCipher();

    StreamCipher(const StreamCipher &) = delete;
    StreamCipher &operator=(const StreamCipher &) = delete;

    void encipherOutgoing(unsigned char *data, std::size_t length);
    void decipherIncoming(unsigned char *data, std::size_t length);

private:
    struct Direction
    {
        unsigned char feedback[16];
        unsigned char keystream[16];
        int position;
    };

    void resetDirection(Direction &direction);
    void startCycle(Direction &direction) const;

    BF_KEY m_schedule;
    Direction m_outgoing;
    Direction m_incoming;
};

} // namespace StandIn
