#include "documents/vcard/VCardExchange.h"

#include "data/TransactionScope.h"
#include "documents/vcard/ContactStore.h"
#include "documents/vcard/VCardReader.h"
#include "documents/vcard/VCardWriter.h"
#include "permissions/ContactsFile.h"
#include "permissions/modCheckPermissions.h"
#include "platform/folders/FileFaults.h"
#include "platform/values/VbError.h"

#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

namespace vcard {

namespace {

const QString noName = QStringLiteral("(sem nome)");
const QString vcfSuffix = QStringLiteral(".vcf");
const QString vcardDescription = QStringLiteral("Cartões de contacto vCard");
const QString vcardPattern = QStringLiteral("*.vcf");
const QString vcardExtension = QStringLiteral("vcf");

struct Pending {
    qint32 id;
    QList<RelatedRow> related;
};

enum class Right { Granted, Refused, Unknown };

// Unknown when the server could not be asked, which is no refusal.
Right right(const QString& user, qint32 id, qint32 action)
{
    bool couldNotAsk = false;
    if (modCheckPermissions::CheckObjectSecurity(user, id, contactsfile::kind, action, &couldNotAsk))
        return Right::Granted;
    return couldNotAsk ? Right::Unknown : Right::Refused;
}

const QString notAsked = QStringLiteral("não foi possível consultar as permissões no servidor");

class Importer {
  public:
    Importer(const ImportOptions& options, QString user)
        : options_(options), user_(std::move(user)), store_(user_),
          mayCreate_(right(user_, 0, modCheckPermissions::Create))
    {
    }

    ImportSummary run(const QList<Card>& cards)
    {
        ImportSummary summary;
        summary.dryRun = options_.dryRun;
        for (qsizetype i = 0; i < cards.size(); ++i) {
            summary.lines << one(fromCard(cards[i]));
            summary.lines.last().card = int(i);
        }
        relateAll(summary);
        return summary;
    }

  private:
    ImportLine one(const ContactRecord& contact)
    {
        ImportLine line;
        line.name = contact.displayName().isEmpty() ? noName : contact.displayName();
        line.remarks = contact.remarks;
        if (contact.displayName().isEmpty())
            return refuse(line, QStringLiteral("o cartão não tem nome, organização, e-mail nem telefone"));
        try {
            const ContactStore::Duplicate same = store_.findDuplicate(contact);
            if (isSameContact(same, contact))
                return duplicate(line, contact, same);
            if (same.match == ContactStore::Match::Nif)
                return refuse(line, QStringLiteral("o NIF é o de ") + same.named() +
                                        QStringLiteral(", que tem outro nome"));
            if (mayCreate_ != Right::Granted)
                return refuse(line, mayCreate_ == Right::Unknown
                                        ? notAsked
                                        : QStringLiteral("não tem permissão para criar contactos"));
            qint32 id = 0; // named only once its unit is committed
            inOneUnit([&] { id = store_.create(contact); });
            line.contactId = id;
            line.outcome = Outcome::Created;
            if (same.id != 0) // a shared address or number: told, never taken for the same person
                line.reason =
                    QStringLiteral("parecido com ") + same.named() + QStringLiteral(": ") + same.reason;
            remember(line.contactId, contact);
        } catch (const vb::Error& e) {
            return refuse(line, e.description());
        }
        return line;
    }

    // The card is that stored contact: its UID, or its NIF, e-mail or
    // telephone under its name. A shared address, number or name alone is not.
    static bool isSameContact(const ContactStore::Duplicate& same, const ContactRecord& contact)
    {
        return same.match == ContactStore::Match::Uid ||
               (same.match != ContactStore::Match::None && same.match != ContactStore::Match::Name &&
                ContactStore::namesAgree(same.name, contact.displayName()));
    }

    ImportLine duplicate(ImportLine& line, const ContactRecord& contact, const ContactStore::Duplicate& same)
    {
        line.contactId = same.id;
        const QString where =
            QStringLiteral("já existe como ") + same.named() + QStringLiteral(", com ") + same.reason;
        if (!options_.update) {
            line.outcome = Outcome::Skipped;
            line.reason = where;
            return line;
        }
        if (same.institution != contact.institution)
            return refuse(line, where + QStringLiteral(", de outro tipo"));
        if (const Right change = right(user_, same.id, modCheckPermissions::Change); change != Right::Granted)
            return refuse(line, change == Right::Unknown
                                    ? notAsked
                                    : where + QStringLiteral(", e não tem permissão para o alterar"));
        inOneUnit([&] { store_.update(same.id, contact); });
        line.outcome = Outcome::Updated;
        remember(same.id, contact);
        return line;
    }

    static ImportLine refuse(ImportLine& line, const QString& reason)
    {
        line.outcome = Outcome::Refused;
        line.reason = reason;
        return line;
    }

    // One unit per card; a trial run undoes it.
    void inOneUnit(const std::function<void()>& work)
    {
        TransactionScope unit;
        unit.begin();
        work();
        if (options_.dryRun)
            unit.rollback();
        else
            unit.commit();
    }

    void remember(qint32 id, const ContactRecord& contact)
    {
        if (!contact.related.isEmpty() && !options_.dryRun)
            pending_ << Pending{id, contact.related};
    }

    // Relations once every card is in, so that they may point either way
    // inside the file; a UID no contact holds is kept with the card.
    void relateAll(ImportSummary& summary)
    {
        for (const Pending& p : pending_) {
            try {
                TransactionScope unit;
                unit.begin();
                store_.keepUnresolved(p.id, store_.relate(p.id, p.related));
                unit.commit();
            } catch (const vb::Error& e) {
                for (ImportLine& line : summary.lines)
                    if (line.contactId == p.id && line.reason.isEmpty())
                        line.reason = QStringLiteral("sem as relações: ") + e.description();
            }
        }
    }

    ImportOptions options_;
    QString user_;
    ContactStore store_;
    Right mayCreate_;
    QList<Pending> pending_;
};

} // namespace

int ImportSummary::count(Outcome outcome) const
{
    int n = 0;
    for (const ImportLine& line : lines)
        n += line.outcome == outcome;
    return n;
}

QString ImportSummary::totals() const
{
    const QString text = QStringLiteral("Criados: ") + QString::number(count(Outcome::Created)) +
                         QStringLiteral(", actualizados: ") + QString::number(count(Outcome::Updated)) +
                         QStringLiteral(", ignorados: ") + QString::number(count(Outcome::Skipped)) +
                         QStringLiteral(", recusados: ") + QString::number(count(Outcome::Refused)) + u'.';
    return dryRun ? text + QStringLiteral(" Simulação: nada foi gravado.") : text;
}

QStringList ImportSummary::details() const
{
    QStringList out;
    for (const ImportLine& line : lines) {
        QStringList said = line.remarks;
        if (!line.reason.isEmpty())
            said.prepend(line.reason);
        out << outcomeWord(line.outcome) + QStringLiteral(": ") + line.name +
                   (said.isEmpty() ? QString()
                                   : QStringLiteral(" (") + said.join(QStringLiteral("; ")) + u')');
    }
    return out;
}

QString outcomeWord(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Created:
        return QStringLiteral("Criado");
    case Outcome::Updated:
        return QStringLiteral("Actualizado");
    case Outcome::Skipped:
        return QStringLiteral("Ignorado");
    case Outcome::Refused:
        break;
    }
    return QStringLiteral("Recusado");
}

ImportSummary importCards(const QByteArray& file, const ImportOptions& options, const QString& user)
{
    QString problem;
    const QList<Card> cards = read(file, &problem);
    ImportSummary summary = importCards(cards, options, user);
    summary.readProblem = problem;
    if (cards.isEmpty() && problem.isEmpty())
        summary.readProblem = QStringLiteral("o ficheiro não tem nenhum cartão vCard.");
    return summary;
}

ImportSummary importCards(const QList<Card>& cards, const ImportOptions& options, const QString& user)
{
    return Importer(options, user).run(cards);
}

namespace {

QString contactLabel(qint32 id, const QString& name = {})
{
    return QStringLiteral("n.º ") + QString::number(id) + (name.isEmpty() ? QString() : u' ' + name);
}

// What a card could not hold, said for the export's summary.
QString leftOutLine(qint32 id, const QString& name, const QStringList& leftOut)
{
    return contactLabel(id, name) + QStringLiteral(": sem ") + leftOut.join(QStringLiteral(", ")) +
           QStringLiteral(" (não cabem em vCard 4.0)");
}

} // namespace

ExportResult exportContacts(const QList<qint32>& ids, const QString& user, Delivery& delivery)
{
    ExportResult result;
    ContactStore store(user);
    QList<Card> cards;
    QList<qint32> exported;
    try {
        // One unit: the UIDs a first export gives are stored with the file, or not at all.
        TransactionScope unit;
        unit.begin();
        // Whether a contact is still there is asked only of those that fail:
        // another user may have deleted it since the list was read.
        const auto gone = [&](qint32 id) {
            return !store.exists(id) ? QStringLiteral("o contacto já não existe") : QString();
        };
        for (const qint32 id : ids) {
            if (const Right open = right(user, id, modCheckPermissions::Open); open != Right::Granted) {
                const QString why = gone(id);
                result.skipped << contactLabel(id) + QStringLiteral(": ") +
                                      (!why.isEmpty() ? why
                                       : open == Right::Unknown
                                           ? notAsked
                                           : QStringLiteral("sem permissão para o abrir"));
                continue;
            }
            try {
                const ContactRecord contact = store.load(id);
                cards << toCard(contact);
                result.names << contact.displayName();
                exported << id;
            } catch (const vb::Error& e) {
                const QString why = gone(id);
                result.skipped << contactLabel(id) + QStringLiteral(": ") +
                                      (why.isEmpty() ? e.description() : why);
            }
        }
        if (cards.isEmpty()) {
            result.failure = QStringLiteral("nenhum contacto pôde ser exportado");
            return result; // the unit rolls back
        }
        QList<QStringList> leftOut;
        const QByteArray bytes = write(cards, &leftOut);
        for (qsizetype i = 0; i < leftOut.size(); ++i)
            if (!leftOut[i].isEmpty())
                result.leftOut << leftOutLine(exported[i], result.names[i], leftOut[i]);
        if (!delivery.prepare(bytes, result.failure))
            return result;
        unit.commit();
    } catch (const vb::Error& e) {
        result.failure = e.description();
        return result;
    }
    result.delivered = delivery.complete(result.failure);
    return result;
}

FileDelivery::FileDelivery(QString path) : path_(std::move(path)) {}

FileDelivery::~FileDelivery() = default;

bool FileDelivery::prepare(const QByteArray& bytes, QString& failure)
{
    file_ = std::make_unique<QSaveFile>(path_);
    if (file_->open(QIODevice::WriteOnly) && file_->write(bytes) == bytes.size() && file_->flush())
        return true;
    failure = platform::whyNotWritten(path_, *file_);
    file_.reset();
    return false;
}

bool FileDelivery::complete(QString& failure)
{
    if (file_ && file_->commit())
        return true;
    failure = file_ ? platform::whyNotWritten(path_, *file_) : QStringLiteral("o ficheiro não foi preparado");
    return false;
}

QList<qint32> openableContacts(const QString& user)
{
    return ContactStore(user).openable();
}

QString fileNameFor(const QString& contactName)
{
    static const QRegularExpression unsafe(QStringLiteral(R"([/\\:*?"<>|\x00-\x1f])"));
    QString name = QString(contactName).replace(unsafe, QStringLiteral("_")).trimmed();
    if (name.isEmpty() || name.startsWith(u'.'))
        name.prepend(QStringLiteral("contacto"));
    return name + vcfSuffix;
}

platform::SaveFileRequest saveRequest(const QString& title, const QString& proposedName)
{
    platform::SaveFileRequest request;
    request.title = title;
    request.initialFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    request.filters = {{vcardDescription, vcardPattern}};
    request.proposedName = proposedName;
    request.defaultExtension = vcardExtension;
    return request;
}

bool writeFile(const QString& path, const QByteArray& bytes, QString& problem)
{
    FileDelivery file(path);
    return file.prepare(bytes, problem) && file.complete(problem);
}

} // namespace vcard
