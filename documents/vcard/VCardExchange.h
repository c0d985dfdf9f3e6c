#pragma once
// Contacts out to vCard 4.0 files and in from vCard 2.1, 3.0 and 4.0 files,
// on the shared connection, as the signed-in user: an export holds only
// contacts the user may open; an import needs the create right for new
// contacts and the change right for updated ones, files each new contact
// in "Contactos Quarvenses", and never doubles one (same UID, NIF or e-mail
// address). Each card is written whole or not at all.
#include "documents/vcard/VCard.h"
#include "platform/windows/WindowServices.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace vcard {

enum class Outcome { Created, Updated, Skipped, Refused };

struct ImportLine {
    int card = -1; // its place among the cards read
    QString name;
    Outcome outcome = Outcome::Refused;
    QString reason;      // why skipped or refused
    QStringList remarks; // what the reading made of the card ("título cortado a 60 caracteres")
    qint32 contactId = 0;
};

struct ImportOptions {
    bool update = false; // a duplicate is updated from the card instead of skipped
    bool dryRun = false; // everything checked and done, then undone
};

struct ImportSummary {
    QList<ImportLine> lines;
    QString readProblem; // cards of the file that could not be read
    bool dryRun = false;

    int count(Outcome outcome) const;
    // "Criados: 2, actualizados: 0, ignorados: 1, recusados: 0.", and that
    // nothing was kept after a trial run.
    QString totals() const;
    // One line a card: "Criado: Maria Silva", "Ignorado: … (já existe com o mesmo NIF: n.º 13)".
    QStringList details() const;
};

QString outcomeWord(Outcome outcome);

ImportSummary importCards(const QByteArray& file, const ImportOptions& options, const QString& user);
ImportSummary importCards(const QList<Card>& cards, const ImportOptions& options, const QString& user);

// The cards of these contacts, in this order; a contact the user may not
// open is left out. `problem` names what could not be exported; `names`
// receives the names of those that were.
QByteArray exportContacts(const QList<qint32>& ids, const QString& user, QString* problem = nullptr,
                          QStringList* names = nullptr);
// Every contact the user may open, by name.
QList<qint32> openableContacts(const QString& user);

// A name for the file of one contact's card: its name, without characters
// a file name cannot hold, and ".vcf".
QString fileNameFor(const QString& contactName);

// The save dialog for a vCard file in the user's documents, proposing that name.
platform::SaveFileRequest saveRequest(const QString& title, const QString& proposedName);
// The bytes to the file whole, or the file as it was and the reason in `problem`.
bool writeFile(const QString& path, const QByteArray& bytes, QString& problem);

} // namespace vcard
