#pragma once

// A reference for the session stream, on top of OpenSSL's Blowfish so that it shares
// nothing with the code it checks. The stream runs in cycles of 9 bytes: a cycle's pad is
// the Blowfish encryption (ECB, blocks read big-endian) of the previous cycle's first
// eight ciphertext bytes, then that cycle's ninth byte; before the first cycle the
// "previous cycle" is the fixed vector below. Each direction keeps its own cycle.
// Link OpenSSL::Crypto and define OPENSSL_SUPPRESS_DEPRECATED (OpenSSL 3 deprecates Blowfish).

#ifndef OPENSSL_SUPPRESS_DEPRECATED
#define OPENSSL_SUPPRESS_DEPRECATED
#endif
#include <openssl/blowfish.h>

#include <QByteArray>

#include <cstring>

class RefStream
{
public:
    static QByteArray startVector() { return QByteArray::fromHex("5c1e07a9d2b3468f9e0a7c4b1d3f6e28"); }

    explicit RefStream(const QByteArray &key)
    {
        BF_set_key(&m_key, int(key.size()), reinterpret_cast<const unsigned char *>(key.constData()));
        std::memcpy(m_send.previous, startVector().constData(), 9);
        m_receive = m_send;
    }

    // What the owner of this stream sends: plain in, ciphertext out.
    QByteArray encrypt(const QByteArray &plain) { return run(m_send, plain, true); }
    // What the owner receives: ciphertext in, plain out.
    QByteArray decrypt(const QByteArray &cipher) { return run(m_receive, cipher, false); }

private:
    struct Way
    {
        unsigned char previous[9]; // ciphertext of the cycle before
        unsigned char pad[9];
        int used = 9;              // pad bytes used in this cycle
    };

    void newCycle(Way &way) const
    {
        BF_ecb_encrypt(way.previous, way.pad, &m_key, BF_ENCRYPT);
        way.pad[8] = way.previous[8];
        way.used = 0;
    }

    QByteArray run(Way &way, const QByteArray &input, bool enciphering) const
    {
        QByteArray output(input.size(), '\0');
        for (int i = 0; i < input.size(); ++i) {
            if (way.used == 9)
                newCycle(way);
            const auto in = static_cast<unsigned char>(input.at(i));
            const auto out = static_cast<unsigned char>(in ^ way.pad[way.used]);
            way.previous[way.used++] = enciphering ? out : in;
            output[i] = char(out);
        }
        return output;
    }

    BF_KEY m_key;
    Way m_send, m_receive;
};
