#include "streamcipher_p.h"

#include <openssl/crypto.h>

#include <cstring>

namespace StandIn {

namespace {

const unsigned char StartVector[16] = {0x5c, 0x1e, 0x07, 0xa9, 0xd2, 0xb3, 0x46, 0x8f,
                                       0x9e, 0x0a, 0x7c, 0x4b, 0x1d, 0x3f, 0x6e, 0x28};

// Bytes 0-7 of a cycle come from Blowfish; byte 8 is the feedback byte itself.
constexpr int CycleLength = 9;

BF_LONG loadBigEndian(const unsigned char *bytes)
{
    using Word = BF_LONG; // a macro for a two-word type name
    return Word(bytes[0]) << 24 | Word(bytes[1]) << 16 | Word(bytes[2]) << 8 | Word(bytes[3]);
}

void storeBigEndian(BF_LONG value, unsigned char *bytes)
{
    bytes[0] = static_cast<unsigned char>(value >> 24);
    bytes[1] = static_cast<unsigned char>(value >> 16);
    bytes[2] = static_cast<unsigned char>(value >> 8);
    bytes[3] = static_cast<unsigned char>(value);
}

} // namespace

StreamCipher::StreamCipher(const unsigned char (&key)[KeyLength])
{
    BF_set_key(&m_schedule, KeyLength, key);
    resetDirection(m_outgoing);
    resetDirection(m_incoming);
}

StreamCipher::~StreamCipher()
{
    OPENSSL_cleanse(&m_schedule, sizeof m_schedule);
    OPENSSL_cleanse(&m_outgoing, sizeof m_outgoing);
    OPENSSL_cleanse(&m_incoming, sizeof m_incoming);
}

void StreamCipher::resetDirection(Direction &direction)
{
    std::memcpy(direction.feedback, StartVector, sizeof StartVector);
    std::memcpy(direction.keystream, StartVector, sizeof StartVector);
    direction.position = CycleLength; // the first byte starts a cycle
}

void StreamCipher::startCycle(Direction &direction) const
{
    std::memcpy(direction.keystream, direction.feedback, sizeof direction.feedback);
    BF_LONG block[2] = {loadBigEndian(direction.feedback), loadBigEndian(direction.feedback + 4)};
    BF_encrypt(block, &m_schedule);
    storeBigEndian(block[0], direction.keystream);
    storeBigEndian(block[1], direction.keystream + 4);
    direction.position = 0;
}

void StreamCipher::encipherOutgoing(unsigned char *data, std::size_t length)
{
    for (std::size_t i = 0; i < length; ++i) {
        if (m_outgoing.position >= CycleLength)
            startCycle(m_outgoing);
        const unsigned char cipherByte = data[i] ^ m_outgoing.keystream[m_outgoing.position];
        data[i] = cipherByte;
        m_outgoing.feedback[m_outgoing.position++] = cipherByte;
    }
}

void StreamCipher::decipherIncoming(unsigned char *data, std::size_t length)
{
    for (std::size_t i = 0; i < length; ++i) {
        if (m_incoming.position >= CycleLength)
            startCycle(m_incoming);
        const unsigned char cipherByte = data[i];
        m_incoming.feedback[m_incoming.position] = cipherByte;
        data[i] = cipherByte ^ m_incoming.keystream[m_incoming.position++];
    }
}

} // namespace StandIn
