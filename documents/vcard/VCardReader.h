#pragma once
// Reads vCard 2.1, 3.0 and 4.0 files: any number of cards, CRLF or LF line
// ends, folded lines, quoted-printable and CHARSET= values, base64 binaries.
#include "documents/vcard/VCard.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace vcard {

// Every card that could be read, in file order. A card that is malformed
// (a line without ":", no END:VCARD) is left out and the reason, with the
// line where it was found, goes to `problem`, one line of text per fault;
// `problem` is emptied when there was none. Blank lines, lower-case names
// and a missing VERSION are accepted without a word.
QList<Card> read(const QByteArray& data, QString* problem = nullptr);

} // namespace vcard
