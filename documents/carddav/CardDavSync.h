#pragma once
// Two-way sync of one contact file of the catalog, as a user may open it,
// with one address book on a CardDAV server. What changed on one side since
// the last sync goes to the other; what changed on both is a conflict, and
// the version that does not stay is filed as a vCard in the contact's
// archive first. A card deleted on the server takes the contact out of the
// file, never out of the catalog; a contact deleted in the catalog deletes
// its card. A card from the server is checked as the card checks what is
// typed (addresses, numbers, NIF), needs the change right (or the create
// right), and is written only over the contact as the sync read it, in one
// unit with what the sync remembers of it. What fails is named and left for
// the next sync, which then starts from the same point.
#include "documents/carddav/DavClient.h"

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

namespace carddav {

struct SyncRequest {
    QUrl url;     // the address book, or any address of the server to find it from
    QString file; // the contact file paired with it
    QString user; // whose rights decide
};

enum class Keep { Catalog, Server, Later };

// Asked for each contact changed on both sides.
class ConflictChooser {
  public:
    virtual ~ConflictChooser() = default;
    virtual Keep choose(const QString& contactName, qint32 contactId) = 0;
};

// The catalog's version stays (the command-line tool's rule).
class CatalogWins : public ConflictChooser {
  public:
    Keep choose(const QString&, qint32) override { return Keep::Catalog; }
};

struct SyncSummary {
    QString book;     // the address book's URL
    QString failure;  // why the sync stopped before its end; empty when it did not
    int sent = 0;     // cards created or changed on the server
    int received = 0; // contacts created or changed in the catalog
    int deletedOnServer = 0;
    int leftTheFile = 0; // contacts taken out of the file
    int conflicts = 0;
    int requests = 0;
    QStringList lines;    // one per thing done, "Enviado: Ana Alves"
    QStringList refused;  // one per thing left for the next sync, with why
    QStringList archived; // versions kept in a contact's archive

    bool complete() const { return failure.isEmpty() && refused.isEmpty(); }
    // "Enviados: 2, recebidos: 1, apagados no servidor: 0, retirados do ficheiro: 0, conflitos: 0, por fazer:
    // 0."
    QString totals() const;
};

// Called as the work goes on: so many of so many, and what.
using Progress = std::function<void(int done, int total, const QString& step)>;

SyncSummary synchronise(DavClient& client, const SyncRequest& request, ConflictChooser& chooser,
                        const Progress& progress = {});

// The fingerprint of a card as this catalog would write it again: two
// servers' spellings of one card give one fingerprint.
QString fingerprint(const QByteArray& card);

} // namespace carddav
