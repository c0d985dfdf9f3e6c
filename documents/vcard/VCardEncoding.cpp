#include "documents/vcard/VCardEncoding.h"

#include <QStringDecoder>

namespace vcard {

namespace {

constexpr char kQpEscape = '=';
constexpr int kHexBase = 16;
constexpr int kFirstLetterDigit = 10;
constexpr int kNotHex = -1;
constexpr qsizetype kQpEscapeLength = 3;
const char* const kFallbackCharset = "windows-1252";

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + kFirstLetterDigit;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + kFirstLetterDigit;
    return kNotHex;
}

std::optional<QString> decodeStrictly(const QByteArray& bytes, const char* charset)
{
    QStringDecoder decoder(charset, QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

QByteArray decodeQuotedPrintable(const QByteArray& encoded)
{
    QByteArray out;
    out.reserve(encoded.size());
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        const char c = encoded[i];
        if (c == kQpEscape && i + kQpEscapeLength <= encoded.size()) {
            const int high = hexDigit(encoded[i + 1]);
            const int low = hexDigit(encoded[i + 2]);
            if (high != kNotHex && low != kNotHex) {
                out += char(high * kHexBase + low);
                i += kQpEscapeLength - 1;
                continue;
            }
        }
        out += c;
    }
    return out;
}

std::optional<QString> decodeCharset(const QByteArray& bytes, const QString& charset)
{
    if (charset.isEmpty()) {
        if (std::optional<QString> utf8 = decodeStrictly(bytes, "UTF-8"))
            return utf8;
        return QStringDecoder(kFallbackCharset).decode(bytes);
    }
    QStringDecoder decoder(charset.trimmed().toLatin1().constData());
    if (!decoder.isValid())
        return std::nullopt;
    return QString(decoder.decode(bytes));
}

bool isBase64Encoding(const QString& encoding)
{
    return encoding.compare(QStringLiteral("b"), Qt::CaseInsensitive) == 0 ||
           encoding.compare(QStringLiteral("BASE64"), Qt::CaseInsensitive) == 0;
}

} // namespace vcard
