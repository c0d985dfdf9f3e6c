#pragma once
// What a typed e-mail address, telephone number or postal code must look
// like before the card stores it. Blanks around the text are ignored.
#include <QString>

namespace FieldRules {

// name@domain.tld: no blanks, one "@", a domain of at least two labels.
bool isEmailAddress(const QString& typed);
// Digits with the usual separators (blank . - / and brackets), an optional
// leading "+", at least three digits.
bool isTelephoneNumber(const QString& typed);
// "Portugal" (or "PT"), in any letter case.
bool isPortugal(const QString& country);
// In Portugal NNNN-NNN; elsewhere any text.
bool isPostalCodeFor(const QString& code, const QString& country);

} // namespace FieldRules
