#pragma once
// The family's string cipher: passwords travel and rest enciphered, and kept
// connection strings are stored enciphered. XChaCha20-Poly1305 (libsodium);
// the output is printable ("qv1:" + base64url of nonce and ciphertext).
//
// The key is the site's: a random key file made at first use beside the
// settings (SiteKeyFile(), mode 0640), read by every program of the site that
// may read that folder. QUARVENSES_FAMILY_KEY, when set, gives a passphrase
// instead. Texts written before the site key existed, with the family's old
// built-in key, are still read; nothing new is written with it.
#include <QString>

namespace StringCipher {

QString Encipher(const QString& plain);

// Throws vb::Error when the text is not one this cipher wrote with this key:
// a damaged or foreign text is never handed on as garbage.
QString Decipher(const QString& enciphered);

// True when the text has this cipher's form (prefix and length), without
// proving it deciphers.
bool LooksEnciphered(const QString& text);

// Where the site's key lives (it is made when first needed).
QString SiteKeyFile();

} // namespace StringCipher
