#pragma once
// A card read from any version said the vCard 4.0 way, which is what the
// writer puts out, and the comparison of cards that follows from it.
#include "documents/vcard/VCard.h"

namespace vcard {

// The card as vCard 4.0 says it: 2.1 bare words become TYPE= values,
// TYPE=pref becomes PREF=1, inline binaries (ENCODING=b or BASE64) of PHOTO,
// LOGO, SOUND and KEY become data: URIs, VALUE=URL becomes VALUE=uri, single
// text values are escaped as 4.0 wants, N and ADR get all their components,
// a 3.0 GEO becomes a geo: URI, and FN, which 4.0 requires, is made from N
// (or ORG) when missing. Anything else is kept as it was.
Card upgradeTo40(const Card& card);

// Whether two cards say the same once written as vCard 4.0: the order of
// properties, of parameters and of TYPE values does not count, nor does the
// version they were read from.
bool equivalent(const Card& a, const Card& b);
bool equivalent(const QList<Card>& a, const QList<Card>& b);

} // namespace vcard
