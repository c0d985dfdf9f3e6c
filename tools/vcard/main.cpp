// quarvenses-vcard: contacts out to a vCard 4.0 file and in from vCard files,
// with the rights of a user of the contacts, for a site's administrator.
// Exits 0 when everything was done, 1 when a card was refused or could not
// be read, or a contact or the file could not be exported, 2 on a wrong
// command line, an unreachable server or a user the catalog does not know.
#include "documents/vcard/VCardExchange.h"
#include "platform/folders/FileFaults.h"
#include "tools/common/ConsoleWindowServices.h"
#include "tools/common/ProgramInfo.h"
#include "tools/common/ToolCatalog.h"
#include "tools/vcard/VCardOptions.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

namespace {

// The product the relations written by an import name, as the host's own.
const QString productName = QStringLiteral("Quarvenses");

// Standard output cannot be taken back: the cards are written when prepared.
class StdoutDelivery : public vcard::Delivery {
  public:
    bool prepare(const QByteArray& bytes, QString& failure) override
    {
        QFile out;
        if (out.open(stdout, QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.flush())
            return true;
        failure = QStringLiteral("não foi possível escrever na saída");
        return false;
    }
    bool complete(QString&) override { return true; }
};

int exportCards(const vcardtool::VCardOptions& o, QTextStream& err)
{
    const QList<qint32> ids = o.ids.isEmpty() ? vcard::openableContacts(o.user) : o.ids;
    if (ids.isEmpty()) {
        err << "O utilizador «" << o.user << "» não pode abrir nenhum contacto do catálogo «" << o.catalog
            << "»: nada foi exportado.\n";
        return 1;
    }
    StdoutDelivery toStdout;
    vcard::FileDelivery toFile(o.output);
    vcard::Delivery& delivery = o.output.isEmpty() ? static_cast<vcard::Delivery&>(toStdout) : toFile;
    const vcard::ExportResult result = vcard::exportContacts(ids, o.user, delivery);
    for (const QString& line : result.skipped + result.leftOut)
        err << line << '\n';
    if (!result.delivered) {
        const QString where = o.output.isEmpty() ? QStringLiteral("os cartões")
                                                 : QStringLiteral("«") + o.output + QStringLiteral("»");
        err << "Não foi possível escrever " << where << ": " << result.failure
            << ". Nada foi alterado no catálogo «" << o.catalog << "».\n";
        return 1;
    }
    if (result.names.size() == 1)
        err << "Exportado 1 contacto.\n";
    else
        err << "Exportados " << result.names.size() << " contactos.\n";
    return result.skipped.isEmpty() ? 0 : 1;
}

int importCards(const vcardtool::VCardOptions& o, QTextStream& out, QTextStream& err)
{
    bool unreadable = false;
    bool refused = false;
    for (const QString& name : o.files) {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly)) {
            err << "Não foi possível ler «" << name << "»: " << platform::whyNotRead(name, file) << ".\n";
            unreadable = true;
            continue;
        }
        const vcard::ImportSummary summary = vcard::importCards(file.readAll(), {o.update, o.dryRun}, o.user);
        out << name << ":\n";
        for (const QString& line : summary.details())
            out << "  " << line << '\n';
        if (!summary.readProblem.isEmpty()) {
            for (const QString& line : summary.readProblem.split(u'\n'))
                err << name << ": " << line << '\n';
            unreadable = true;
        }
        out << summary.totals() << '\n';
        // Skipped cards were not imported either: the status says so.
        refused = refused || summary.count(vcard::Outcome::Refused) > 0 ||
                  summary.count(vcard::Outcome::Skipped) > 0;
    }
    return refused || unreadable ? 1 : 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (toolsupport::answeredHelpOrVersion(argc, argv, "quarvenses-vcard",
                                           "importa e exporta contactos em cartões vCard",
                                           vcardtool::usage()))
        return 0;
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    ConsoleWindowServices::install();
    const vcardtool::VCardOptions o = vcardtool::VCardOptions::parse(app.arguments().mid(1));
    if (!o.problem.isEmpty()) {
        err << o.problem << '\n' << vcardtool::usage();
        return 2;
    }
    if (const QString failure =
            toolcatalog::openAs(o.server, o.catalog, o.connectionString(), o.user, productName);
        !failure.isEmpty()) {
        err << failure << '\n';
        return 2;
    }
    return o.verb == QLatin1String("export") ? exportCards(o, err) : importCards(o, out, err);
}
