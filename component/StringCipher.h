#pragma once
// The family's string cipher: passwords travel and rest enciphered, and kept
// connection strings are stored enciphered. XChaCha20-Poly1305 (libsodium)
// with a key derived from the family passphrase; the output is printable
// ("qv1:" + base64url of nonce and ciphertext). Every family member that
// shares the passphrase reads what the others wrote.
#include <QString>

namespace StringCipher {

// The passphrase comes from QUARVENSES_FAMILY_KEY when set, else the built-in
// family default, so that all members agree out of the box.
QString Encipher(const QString& plain);

// Throws vb::Error when the text is not one this cipher wrote with this key:
// a damaged or foreign text is never handed on as garbage.
QString Decipher(const QString& enciphered);

// True when the text has this cipher's form (prefix and length), without
// proving it deciphers.
bool LooksEnciphered(const QString& text);

} // namespace StringCipher
