#pragma once
// One address book on a CardDAV server (RFC 6352): found from any address
// of the server, listed whole or by what changed since a token (RFC 6578),
// its cards read in batches, and written only over the version last seen
// (If-Match) or where none is (If-None-Match).
#include "documents/carddav/DavClient.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

namespace carddav {

struct RemoteCard {
    QString href;
    QByteArray etag;
    QByteArray body;
};

// What the server says is in the book: every card with its version (a
// whole listing), or those changed and removed since a token.
struct Listing {
    QHash<QString, QByteArray> etags; // href → ETag
    QStringList removed;
    QString token;      // to ask from next time; empty when the server keeps none
    bool whole = false; // a card not listed is gone
};

// A multistatus answer as this client reads it, for the tests too.
struct DavEntry {
    QString href;
    int status = 0;                       // of the response, or of the properties found
    QHash<QString, QString> text;         // property's local name → its text
    QHash<QString, QStringList> children; // property's local name → its descendants' local names
    QHash<QString, QString> hrefs;        // property's local name → the href inside it
    QStringList versions;                 // the vCard versions of supported-address-data
};
struct Multistatus {
    QList<DavEntry> entries;
    QString token;
    bool read = false;
};
Multistatus parseMultistatus(const QByteArray& body);

struct BookFacts {
    QString ctag;
    QString token;
    bool changesReport = false; // sync-collection
    bool takesVersion4 = true;
};

// A card to write: where, what, and over which version (none for a new one).
struct CardPut {
    QString href;
    QByteArray card;
    QByteArray etag;
};

class AddressBook {
  public:
    explicit AddressBook(DavClient& client) : client_(client) {}

    // The book at `given`, or the first one of the user's found from it
    // (.well-known/carddav, current-user-principal, addressbook-home-set).
    bool locate(const QUrl& given, QString& failure);
    const QUrl& url() const { return url_; }

    bool facts(BookFacts& out, QString& failure);
    // Since `token`, or everything when there is none or the server no
    // longer knows it.
    bool changes(const QString& token, Listing& out, QString& failure);
    bool list(Listing& out, QString& failure);
    // The cards at these places; a card gone meanwhile is left out.
    bool fetch(const QStringList& hrefs, QList<RemoteCard>& out, QString& failure);

    // A new card where none is, or over the version `etag`.
    DavResponse create(const QString& href, const QByteArray& card);
    DavResponse replace(const QString& href, const QByteArray& card, const QByteArray& etag);
    // Several cards at once, each new (no `etag`) or over its version.
    QList<DavResponse> put(const QList<CardPut>& cards);
    DavResponse remove(const QString& href, const QByteArray& etag);
    DavResponse get(const QString& href);

    // Where a new card of that UID goes.
    QString hrefFor(const QString& uid) const;

  private:
    bool isAddressBook(const QUrl& url, QString& failure, QUrl* home = nullptr, QUrl* principal = nullptr);
    bool firstBookIn(const QUrl& home, QString& failure);
    QUrl at(const QString& href) const { return url_.resolved(QUrl(href)); }
    DavRequest putting(const CardPut& card) const;

    DavClient& client_;
    QUrl url_;
    std::optional<DavEntry> found_; // the book's answer when locate() asked it
};

} // namespace carddav
