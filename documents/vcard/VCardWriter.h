#pragma once
// Writes cards as vCard 4.0 (RFC 6350), whatever version they were read from.
#include "documents/vcard/VCard.h"

#include <QByteArray>
#include <QList>

namespace vcard {

// Each card as upgradeTo40 (VCardUpgrade.h) says it, VERSION:4.0 right after
// BEGIN:VCARD, UTF-8, CRLF line ends, lines folded at 75 octets without
// splitting a character, parameter values quoted where they hold ":", ";"
// or ",". Properties this writer has no rule for go out as they were read.
// A property without a name cannot be written and is left out.
QByteArray write(const QList<Card>& cards);

// One content line, folded, with its CRLF.
QByteArray contentLine(const Property& property);

// `line` cut into lines of at most 75 octets, each after the first starting
// with a space, never inside a UTF-8 sequence; CRLF after each.
QByteArray fold(const QByteArray& line);

} // namespace vcard
