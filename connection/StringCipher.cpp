#include "connection/StringCipher.h"

#include "platform/values/VbError.h"

#include "platform/folders/SpecialFolders.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <fcntl.h>
#include <sodium.h>
#include <unistd.h>

#include <array>
#include <optional>
#include <stdexcept>

namespace StringCipher {
namespace {

const QString kPrefix = QStringLiteral("qv1:");
constexpr char kDefaultPassphrase[] = "Varnadel/Quarvenses family key 2026";
constexpr int kDecipherError = 5;     // VB's "Invalid procedure call or argument"
constexpr mode_t kKeyFileMode = 0640; // the site's programs may share a group
constexpr mode_t kUserKeyFileMode = 0600;

using Key = std::array<unsigned char, crypto_aead_xchacha20poly1305_ietf_KEYBYTES>;

void ensureSodium()
{
    if (sodium_init() < 0)
        throw vb::Error(kDecipherError,
                        QStringLiteral("Não foi possível iniciar a biblioteca criptográfica."));
}

Key keyFromPassphrase(const QByteArray& passphrase)
{
    Key key{};
    static const unsigned char context[] = "quarvenses-string-cipher";
    crypto_generichash(key.data(), key.size(), reinterpret_cast<const unsigned char*>(passphrase.constData()),
                       size_t(passphrase.size()), context, sizeof context - 1);
    return key;
}

// The family's old built-in key: only to read what was written with it.
Key legacyKey()
{
    return keyFromPassphrase(kDefaultPassphrase);
}

std::optional<Key> readKeyFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray raw = QByteArray::fromBase64(file.readAll().trimmed());
    if (raw.size() != int(std::tuple_size_v<Key>))
        return std::nullopt;
    Key key{};
    std::copy(raw.cbegin(), raw.cend(), key.begin());
    return key;
}

// Made once: written aside and linked into place, so that two programs
// starting together end up with the same key. Nothing when the folder is
// not ours to write.
std::optional<Key> makeKeyFile(const QString& path, mode_t mode)
{
    Key key{};
    randombytes_buf(key.data(), key.size());
    QDir().mkpath(QFileInfo(path).path());
    const QString aside = path + QStringLiteral(".") + QString::number(QCoreApplication::applicationPid());
    const int fd =
        ::open(QFile::encodeName(aside).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0)
        return std::nullopt;
    const QByteArray text =
        QByteArray(reinterpret_cast<const char*>(key.data()), int(key.size())).toBase64() + '\n';
    const bool written = ::write(fd, text.constData(), size_t(text.size())) == text.size();
    ::close(fd);
    const bool linked =
        written && ::link(QFile::encodeName(aside).constData(), QFile::encodeName(path).constData()) == 0;
    ::unlink(QFile::encodeName(aside).constData());
    if (linked)
        return key;
    return readKeyFile(path); // another program made it first, or nothing
}

// Where a user who may not write the site's folder keeps a key of their own.
QString userKeyFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/quarvenses/StringCipher.key");
}

Key familyKey()
{
    const QByteArray passphrase = qgetenv("QUARVENSES_FAMILY_KEY");
    if (!passphrase.isEmpty())
        return keyFromPassphrase(passphrase);
    const QString site = SiteKeyFile();
    if (std::optional<Key> key = readKeyFile(site))
        return *key;
    if (std::optional<Key> key = makeKeyFile(site, kKeyFileMode))
        return *key;
    if (std::optional<Key> key = readKeyFile(userKeyFile()))
        return *key;
    if (std::optional<Key> key = makeKeyFile(userKeyFile(), kUserKeyFileMode))
        return *key;
    throw vb::Error(kDecipherError, QStringLiteral("Não foi possível ler nem criar a chave de cifra em «") +
                                        site + QStringLiteral("»."));
}

bool open(const QByteArray& data, const Key& key, QByteArray& plain)
{
    const auto* nonce = reinterpret_cast<const unsigned char*>(data.constData());
    const auto* cipher = nonce + crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
    const size_t cipherLen = size_t(data.size()) - crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
    plain.resize(int(cipherLen));
    unsigned long long plainLen = 0;
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(reinterpret_cast<unsigned char*>(plain.data()), &plainLen,
                                                   nullptr, cipher, cipherLen, nullptr, 0, nonce,
                                                   key.data()) != 0)
        return false;
    plain.truncate(int(plainLen));
    return true;
}

vb::Error notEnciphered()
{
    return vb::Error(kDecipherError, QStringLiteral("O texto indicado não é um texto cifrado válido."),
                     QStringLiteral("StringCipher"));
}

constexpr auto kBase64 = QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals;

} // namespace

QString SiteKeyFile()
{
    // Beside the settings' shadow file, in the all-users folder.
    return platform::specialFolder(platform::folder::CommonAppData).trimmed() +
           QStringLiteral("/Pelmor Software/StringCipher.key");
}

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
    QByteArray plain;
    if (!open(data, familyKey(), plain) && !open(data, legacyKey(), plain))
        throw notEnciphered();
    return QString::fromUtf8(plain);
}

} // namespace StringCipher
