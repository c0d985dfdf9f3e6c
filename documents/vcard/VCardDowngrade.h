#pragma once
// Writes cards as vCard 3.0 (RFC 2426), for the servers and phones that take
// nothing newer. The card is first what the 4.0 writer would write; then
// what 3.0 says otherwise is said its way: PREF as TYPE=pref, an inline
// photo as ENCODING=b with its TYPE, a tel: URI as the number, an
// organisation's KIND as X-ABShowAs:COMPANY. Parameters 3.0 has no use for
// (PID, ALTID) and 4.0-only properties (CLIENTPIDMAP, XML) are left out.
// This catalog's reader reads the result back to the same contact.
#include "documents/vcard/VCard.h"

#include <QByteArray>
#include <QList>

namespace vcard {

QByteArray write30(const QList<Card>& cards);

} // namespace vcard
