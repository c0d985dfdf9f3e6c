#pragma once
// What a sibling's contact sheet shows of one contact, read on the sibling's
// own connection: the identification, the default address, and every
// telephone and e-mail address with the default one first.
#include "platform/ado/Connection.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace siblings {

struct ContactDetails {
    qint32 id = 0;
    QString name;
    QString kind; // "Particular", "Empresarial", or empty for another genero_id
    QString taxNumber;
    QStringList addressLines; // street; postal code and locality; country
    QStringList telephones;   // "number (kind)"
    QStringList emails;       // "address (description)"
};

// Nothing when the contact does not exist. Failures of the server are thrown
// as vb::Error.
std::optional<ContactDetails> readContact(const ado::Connection& connection, qint32 id);

} // namespace siblings
