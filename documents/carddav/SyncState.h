#pragma once
// What the last sync with an address book left: for each contact the card
// it is paired with (its place, the version seen, a fingerprint of the card
// the catalog gave and the contact's change stamp then), and the book's own
// token. Kept in the catalog, on the shared connection, inside the caller's
// transaction; every failure throws vb::Error.
#include <QByteArray>
#include <QHash>
#include <QString>

namespace carddav {

struct Pairing {
    qint32 contact = 0;
    QString href;
    QByteArray etag;
    QString fingerprint;
    QString stamp;
};

struct BookState {
    QHash<qint32, Pairing> pairings;
    QString token;
    QString ctag;

    // The contact paired with the card at `href`, or 0.
    qint32 contactAt(const QString& href) const;
};

BookState loadState(const QString& book);
void savePairing(const QString& book, const Pairing& pairing);
void forgetPairing(const QString& book, qint32 contact);
void saveBook(const QString& book, const QString& file, const QString& token, const QString& ctag);

} // namespace carddav
