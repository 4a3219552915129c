#pragma once

// A reference for the session stream, written for tests on top of OpenSSL's
// Blowfish so that it shares nothing with the code it checks.
//
// The stream runs in cycles of 9 bytes. The pad of a cycle is the Blowfish
// encryption (ECB, the block read big-endian, as the published vectors are)
// of the first eight ciphertext bytes of the previous cycle, followed by the
// previous cycle's ninth ciphertext byte; before the first cycle the
// "previous cycle" is the fixed vector 5c1e07a9d2b3468f9e (its first 9 bytes).
// Each direction keeps its own cycle; both are keyed alike.
//
// Link OpenSSL::Crypto and define OPENSSL_SUPPRESS_DEPRECATED for the target
// (OpenSSL 3 marks the Blowfish functions deprecated).

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
        m_send = freshWay();
        m_receive = freshWay();
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
        int used;                  // pad bytes used in this cycle
    };

    static Way freshWay()
    {
        Way way;
        const QByteArray vector = startVector();
        std::memcpy(way.previous, vector.constData(), 9);
        way.used = 9;
        return way;
    }

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
    Way m_send;
    Way m_receive;
};
