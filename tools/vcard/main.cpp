// quarvenses-vcard: contacts out to a vCard 4.0 file and in from vCard files,
// with the rights of a user of the contacts, for a site's administrator.
// Exits 0 when everything was done, 1 when a card was refused or could not
// be read or a contact could not be exported, 2 on a wrong command line or
// an unreachable server.
#include "connection/ConnectionState.h"
#include "connection/StringCipher.h"
#include "documents/vcard/VCardExchange.h"
#include "platform/values/VbError.h"
#include "tools/common/ConsoleWindowServices.h"
#include "tools/common/ProgramInfo.h"
#include "tools/vcard/VCardOptions.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

namespace {

// The product the relations written by an import name, as the host's own.
const QString productName = QStringLiteral("Quarvenses");

void connect(const vcardtool::VCardOptions& o)
{
    ConnectionState& c = Conn();
    c.strUser = o.user;
    c.strDataServer = productName;
    c.strSQLMasterConnString = StringCipher::Encipher(o.connectionString());
    Data().SqlServer.Open(o.connectionString());
    c.bSQLConnected = true;
}

int exportCards(const vcardtool::VCardOptions& o, QTextStream& err)
{
    const QList<qint32> ids = o.ids.isEmpty() ? vcard::openableContacts(o.user) : o.ids;
    QString problem;
    const QByteArray cards = vcard::exportContacts(ids, o.user, &problem);
    if (o.output.isEmpty()) {
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly) || out.write(cards) != cards.size())
            return 1;
    } else {
        QString failure;
        if (!vcard::writeFile(o.output, cards, failure)) {
            err << "Não foi possível escrever " << o.output << ": " << failure << '\n';
            return 1;
        }
    }
    if (!problem.isEmpty())
        err << problem << '\n';
    err << "Exportados " << cards.count("BEGIN:VCARD") << " contactos.\n";
    return problem.isEmpty() ? 0 : 1;
}

int importCards(const vcardtool::VCardOptions& o, QTextStream& out, QTextStream& err)
{
    bool unreadable = false;
    bool refused = false;
    for (const QString& name : o.files) {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly)) {
            err << "Não foi possível ler " << name << ": " << file.errorString() << '\n';
            unreadable = true;
            continue;
        }
        const vcard::ImportSummary summary = vcard::importCards(file.readAll(), {o.update, o.dryRun}, o.user);
        out << name << ":\n";
        for (const QString& line : summary.details())
            out << "  " << line << '\n';
        if (!summary.readProblem.isEmpty()) {
            err << summary.readProblem << '\n';
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
    try {
        connect(o);
    } catch (const vb::Error& e) {
        err << "Msg " << e.number() << ": " << e.description() << '\n';
        return 2;
    }
    return o.verb == QLatin1String("export") ? exportCards(o, err) : importCards(o, out, err);
}
