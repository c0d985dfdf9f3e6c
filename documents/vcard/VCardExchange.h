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
#include <QSaveFile>
#include <QString>
#include <memory>

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

// Where an export's bytes go. prepare() holds them ready without replacing
// anything yet (a file's temporary copy); complete() puts them in place. The
// UIDs an export gives are stored between the two, so that a delivery that
// could not be prepared leaves the catalog as it was.
class Delivery {
  public:
    virtual ~Delivery() = default;
    virtual bool prepare(const QByteArray& bytes, QString& failure) = 0;
    virtual bool complete(QString& failure) = 0;
};

// The cards to a file, whole or not at all: a file already there stays as
// it was until the new one is complete.
class FileDelivery : public Delivery {
  public:
    explicit FileDelivery(QString path);
    ~FileDelivery() override;
    bool prepare(const QByteArray& bytes, QString& failure) override;
    bool complete(QString& failure) override;

  private:
    QString path_;
    std::unique_ptr<QSaveFile> file_;
};

// Delivers nothing, so that nothing is stored: what an export would hold.
class TrialDelivery : public Delivery {
  public:
    bool prepare(const QByteArray&, QString&) override { return false; }
    bool complete(QString&) override { return false; }
};

struct ExportResult {
    QStringList names;   // of the contacts exported, in order
    QStringList skipped; // contacts not exported, and why
    QStringList leftOut; // what cards could not hold, contact by contact
    QString failure;     // why nothing was delivered; empty when it was
    bool delivered = false;
};

// The cards of these contacts, in this order, through `delivery`; a contact
// the user may not open, or that is no longer there, is named in `skipped`.
// Nothing is delivered when no contact could be exported.
ExportResult exportContacts(const QList<qint32>& ids, const QString& user, Delivery& delivery);
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
