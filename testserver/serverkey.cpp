#include "serverkey_p.h"

#include "wire_p.h"

#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

#include <cstdio>
#include <cstring>
#include <mutex>

namespace StandIn {

namespace {

constexpr int NumberField = 128;

bool appendNumberField(QByteArray &out, const EVP_PKEY *key, const char *name)
{
    BIGNUM *number = nullptr;
    if (EVP_PKEY_get_bn_param(key, name, &number) != 1)
        return false;
    unsigned char field[NumberField];
    const bool fits = BN_bn2binpad(number, field, NumberField) == NumberField;
    BN_free(number);
    if (fits)
        out.append(reinterpret_cast<const char *>(field), NumberField);
    return fits;
}

} // namespace

ServerKey::ServerKey(EVP_PKEY *key, int bits, QByteArray announcement)
    : m_key(key)
    , m_bits(bits)
    , m_announcement(std::move(announcement))
{
}

ServerKey::~ServerKey()
{
    EVP_PKEY_free(m_key);
}

std::shared_ptr<const ServerKey> ServerKey::adopt(EVP_PKEY *key, QString *error)
{
    if (EVP_PKEY_get_base_id(key) != EVP_PKEY_RSA) {
        EVP_PKEY_free(key);
        *error = QStringLiteral("the key is not an RSA key");
        return nullptr;
    }
    const int bits = EVP_PKEY_get_bits(key);
    if (bits > MaxBits) {
        EVP_PKEY_free(key);
        *error = QStringLiteral("an RSA key of %1 bits does not fit the 128-byte fields").arg(bits);
        return nullptr;
    }
    QByteArray announcement;
    Wire::appendU32(announcement, quint32(bits));
    if (!appendNumberField(announcement, key, OSSL_PKEY_PARAM_RSA_N)
        || !appendNumberField(announcement, key, OSSL_PKEY_PARAM_RSA_E)) {
        EVP_PKEY_free(key);
        *error = QStringLiteral("cannot read the RSA key's numbers");
        return nullptr;
    }
    return std::shared_ptr<const ServerKey>(new ServerKey(key, bits, std::move(announcement)));
}

std::shared_ptr<const ServerKey> ServerKey::generate(int bits, QString *error)
{
    EVP_PKEY *key = EVP_RSA_gen(unsigned(bits));
    if (!key) {
        *error = QStringLiteral("cannot make an RSA key of %1 bits").arg(bits);
        return nullptr;
    }
    return adopt(key, error);
}

std::shared_ptr<const ServerKey> ServerKey::fromPemFile(const QString &path, QString *error)
{
    FILE *file = std::fopen(path.toLocal8Bit().constData(), "r");
    if (!file) {
        *error = QStringLiteral("cannot open the key file %1").arg(path);
        return nullptr;
    }
    EVP_PKEY *key = PEM_read_PrivateKey(file, nullptr, nullptr, nullptr);
    std::fclose(file);
    if (!key) {
        *error = QStringLiteral("%1 holds no PEM private key").arg(path);
        return nullptr;
    }
    return adopt(key, error);
}

std::shared_ptr<const ServerKey> ServerKey::sharedDefault(QString *error)
{
    static std::mutex mutex;
    static std::shared_ptr<const ServerKey> key;
    std::lock_guard<std::mutex> lock(mutex);
    if (!key)
        key = generate(MaxBits, error);
    return key;
}

QByteArray ServerKey::announcement() const
{
    return m_announcement;
}

bool ServerKey::decryptSessionKey(const QByteArray &block,
                                  unsigned char (&key)[SessionKeyLength]) const
{
    if (block.size() != modulusLength())
        return false;
    EVP_PKEY_CTX *context = EVP_PKEY_CTX_new(m_key, nullptr);
    if (!context)
        return false;
    unsigned char plain[NumberField];
    size_t plainLength = sizeof plain;
    const bool decrypted =
        EVP_PKEY_decrypt_init(context) == 1
        && EVP_PKEY_CTX_set_rsa_padding(context, RSA_PKCS1_PADDING) == 1
        && EVP_PKEY_decrypt(context, plain, &plainLength,
                            reinterpret_cast<const unsigned char *>(block.constData()),
                            size_t(block.size()))
               == 1;
    EVP_PKEY_CTX_free(context);
    const bool accepted = decrypted && plainLength == SessionKeyLength;
    if (accepted)
        std::memcpy(key, plain, SessionKeyLength);
    OPENSSL_cleanse(plain, sizeof plain);
    return accepted;
}

} // namespace StandIn
