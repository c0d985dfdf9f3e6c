#include "component/StringCipher.h"

#include "platform/values/VbError.h"

#include <QByteArray>
#include <sodium.h>

#include <array>
#include <stdexcept>

namespace StringCipher {
namespace {

const QString kPrefix = QStringLiteral("qv1:");
constexpr char kDefaultPassphrase[] = "Varnadel/Quarvenses family key 2026";
constexpr int kDecipherError = 5; // VB's "Invalid procedure call or argument"

using Key = std::array<unsigned char, crypto_aead_xchacha20poly1305_ietf_KEYBYTES>;

void ensureSodium()
{
    if (sodium_init() < 0)
        throw vb::Error(kDecipherError,
                        QStringLiteral("Não foi possível iniciar a biblioteca criptográfica."));
}

Key familyKey()
{
    QByteArray passphrase = qgetenv("QUARVENSES_FAMILY_KEY");
    if (passphrase.isEmpty())
        passphrase = kDefaultPassphrase;
    Key key{};
    static const unsigned char context[] = "quarvenses-string-cipher";
    crypto_generichash(key.data(), key.size(), reinterpret_cast<const unsigned char*>(passphrase.constData()),
                       size_t(passphrase.size()), context, sizeof context - 1);
    return key;
}

vb::Error notEnciphered()
{
    return vb::Error(kDecipherError, QStringLiteral("O texto indicado não é um texto cifrado válido."),
                     QStringLiteral("StringCipher"));
}

constexpr auto kBase64 = QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals;

} // namespace

QString Encipher(const QString& plain)
{
    ensureSodium();
    const Key key = familyKey();
    const QByteArray message = plain.toUtf8();
    QByteArray out(int(crypto_aead_xchacha20poly1305_ietf_NPUBBYTES + message.size() +
                       crypto_aead_xchacha20poly1305_ietf_ABYTES),
                   Qt::Uninitialized);
    auto* nonce = reinterpret_cast<unsigned char*>(out.data());
    randombytes_buf(nonce, crypto_aead_xchacha20poly1305_ietf_NPUBBYTES);
    unsigned long long written = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(nonce + crypto_aead_xchacha20poly1305_ietf_NPUBBYTES, &written,
                                               reinterpret_cast<const unsigned char*>(message.constData()),
                                               size_t(message.size()), nullptr, 0, nullptr, nonce,
                                               key.data());
    out.truncate(int(crypto_aead_xchacha20poly1305_ietf_NPUBBYTES + written));
    return kPrefix + QString::fromLatin1(out.toBase64(kBase64));
}

bool LooksEnciphered(const QString& text)
{
    if (!text.startsWith(kPrefix))
        return false;
    const auto decoded = QByteArray::fromBase64Encoding(text.mid(kPrefix.size()).toLatin1(),
                                                        kBase64 | QByteArray::AbortOnBase64DecodingErrors);
    return decoded && decoded.decoded.size() >= int(crypto_aead_xchacha20poly1305_ietf_NPUBBYTES +
                                                    crypto_aead_xchacha20poly1305_ietf_ABYTES);
}

QString Decipher(const QString& enciphered)
{
    ensureSodium();
    if (!LooksEnciphered(enciphered))
        throw notEnciphered();
    const QByteArray data =
        QByteArray::fromBase64(enciphered.mid(kPrefix.size()).toLatin1(), QByteArray::Base64UrlEncoding);
    const Key key = familyKey();
    const auto* nonce = reinterpret_cast<const unsigned char*>(data.constData());
    const auto* cipher = nonce + crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
    const size_t cipherLen = size_t(data.size()) - crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
    QByteArray plain(int(cipherLen), Qt::Uninitialized);
    unsigned long long plainLen = 0;
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(reinterpret_cast<unsigned char*>(plain.data()), &plainLen,
                                                   nullptr, cipher, cipherLen, nullptr, 0, nonce,
                                                   key.data()) != 0)
        throw notEnciphered();
    plain.truncate(int(plainLen));
    return QString::fromUtf8(plain);
}

} // namespace StringCipher
