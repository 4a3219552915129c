#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

typedef struct evp_pkey_st EVP_PKEY;

namespace StandIn {

// The server's RSA key pair. The announcement carries the modulus and the
// public exponent in 128-byte fields, so keys above 1024 bits are refused.
class ServerKey
{
public:
    static constexpr int MaxBits = 1024;
    static constexpr int SessionKeyLength = 16;

    static std::shared_ptr<const ServerKey> generate(int bits, QString *error);
    static std::shared_ptr<const ServerKey> fromPemFile(const QString &path, QString *error);
    // One key made per process serves every server that was given none: making
    // a key costs far more than anything else at start.
    static std::shared_ptr<const ServerKey> sharedDefault(QString *error);

    ~ServerKey();
    ServerKey(const ServerKey &) = delete;
    ServerKey &operator=(const ServerKey &) = delete;

    int bits() const { return m_bits; }
    int modulusLength() const { return (m_bits + 7) / 8; }

    // Key size in bits, modulus and exponent: 4 + 128 + 128 bytes.
    QByteArray announcement() const;

    // PKCS #1 v1.5 (block type 2). Only a block that holds exactly the 16 key
    // bytes is accepted.
    bool decryptSessionKey(const QByteArray &block, unsigned char (&key)[SessionKeyLength]) const;

private:
    static std::shared_ptr<const ServerKey> adopt(EVP_PKEY *key, QString *error);
    explicit ServerKey(EVP_PKEY *key, int bits, QByteArray announcement);

    EVP_PKEY *m_key;
    int m_bits;
    QByteArray m_announcement;
};

} // namespace StandIn
