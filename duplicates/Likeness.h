#pragma once
// What makes two contacts probably one: the same NIF, e-mail or telephone
// however written, or names alike once the words that vary between two
// writings of one name are set aside.
#include <QString>

namespace duplicates {

// A name as likeness reads it: accents, case and punctuation aside, without
// titles ("Dr.", "Eng.ª"), company forms ("Lda.", "S.A.") and the small
// words that come and go ("da", "e"), its words in alphabetical order, so
// that "Dr. João da Silva" and "SILVA, Joao" have one key.
QString nameKey(const QString& name);

// How alike two name keys are, 0 to 100 (100: the same key): one less for
// each hundredth of the longer key that an edit must change.
// With `atLeast`, a pair that cannot reach it is answered 0 without
// measuring the edits (most pairs of a large catalog are that).
int similarity(const QString& a, const QString& b, int atLeast = 0);

// The same telephone however spaced and with or without Portugal's prefix.
QString comparableNumber(const QString& number);
// The same e-mail address in any letter case.
QString comparableEmail(const QString& email);
// The same NIF however spaced.
QString comparableNif(const QString& nif);

} // namespace duplicates
