#pragma once
// Transfer encodings and character sets of vCard 2.1 and 3.0 values.
#include <QByteArray>
#include <QString>
#include <optional>

namespace vcard {

// Quoted-printable with its soft line breaks already removed: "=XX" becomes
// the byte XX; an "=" not followed by two hex digits is kept as it stands.
QByteArray decodeQuotedPrintable(const QByteArray& encoded);

// `bytes` in the named character set (ISO-8859-1, windows-1252, UTF-8…);
// nothing when the name is unknown. Without a name the bytes are UTF-8, or
// windows-1252 when they are not valid UTF-8, as old exports without CHARSET
// are in the Windows code page.
std::optional<QString> decodeCharset(const QByteArray& bytes, const QString& charset);

// ENCODING values for inline binary data: "b" (3.0) and "BASE64" (2.1).
bool isBase64Encoding(const QString& encoding);

} // namespace vcard
