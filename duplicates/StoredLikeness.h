#pragma once
// Before a new contact is stored: a contact already there, among those the
// user may open, with the same e-mail address, telephone number or name
// (case and accents aside), so that the user can open it instead of making
// a second one. Reads on the shared connection; vb::Error on a failed statement.
#include <QString>
#include <QStringList>

namespace duplicates {

struct StoredLike {
    qint32 id = 0; // 0: none
    QString name;
    QString reason; // "o mesmo e-mail"
    // "Já existe Ana Alves (n.º 38) com o mesmo e-mail."
    QString sentence() const;
};

StoredLike findStoredLike(const QString& user, const QString& name, const QStringList& emails,
                          const QStringList& phones);

} // namespace duplicates
