#pragma once
// The Portuguese tax number (NIF): nine digits, a first digit (or pair) the
// tax authority gives out, and a mod-11 check digit.
#include <QString>

namespace TaxNumber {

// Spaces are ignored; anything else that is not a digit makes it invalid.
bool isValidPortuguese(const QString& typed);
// The check digit that completes eight digits (for making valid numbers).
int checkDigit(const QString& firstEight);

} // namespace TaxNumber
