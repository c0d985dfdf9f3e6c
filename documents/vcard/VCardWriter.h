#pragma once
// Writes cards as vCard 4.0 (RFC 6350), whatever version they were read from.
#include "documents/vcard/VCard.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace vcard {

// Each card as upgradeTo40 (VCardUpgrade.h) says it and as RFC 6350 allows
// it, VERSION:4.0 right after BEGIN:VCARD, UTF-8, CRLF line ends, lines
// folded at 75 octets without splitting a character, parameter values quoted
// where they hold ":", ";" or ",". 3.0's LABEL becomes its address's LABEL
// parameter, SORT-STRING N's SORT-AS, GEO a geo: URI; N and ADR get all their
// components. What 4.0 has no place for (CLASS, NAME, PROFILE, MAILER, AGENT)
// and names its grammar refuses are left out, and named, card by card, in
// `leftOut`. Properties this writer has no rule for go out as they were read.
QByteArray write(const QList<Card>& cards, QList<QStringList>* leftOut = nullptr);

// One content line, folded, with its CRLF.
QByteArray contentLine(const Property& property);

// `line` cut into lines of at most 75 octets, each after the first starting
// with a space, never inside a UTF-8 sequence; CRLF after each.
QByteArray fold(const QByteArray& line);

} // namespace vcard
