// quarvenses-sql: runs T-SQL on an embedded server or a SQL Server, like
// sqlcmd: -S <data source> -d <catalog> -U <login> -P <password>
// -Q "<statements>" (or a script on standard input, batches split by GO),
// -s <separator> for separated values. Exits 1 after an error.
// --create [--demo [--contacts N]] makes a new embedded catalog from the
// schema instead, with the demonstration data and N generated contacts.
#include "data/TaxNumber.h"
#include "platform/ado/Connection.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/embedded/CatalogBuilder.h"
#include "tools/common/ProgramInfo.h"
#include "tools/sql/ContactGenerator.h"
#include "tools/sql/ResultPrinter.h"
#include "tools/sql/SqlOptions.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

namespace {

const QString usageText = QStringLiteral(
    "Utilização: quarvenses-sql -S <servidor> -d <base de dados> -U <utilizador> -P <senha>"
    " [-Q \"<instruções>\"] [-s <separador>]\n"
    "            quarvenses-sql --create [--demo [--contacts N]] -S <pasta> -d <base de dados> "
    "-U <utilizador> -P <senha>\n");

int usage(QTextStream& err, const QString& problem)
{
    err << problem << '\n' << usageText;
    return 2;
}

void report(QTextStream& err, const vb::Error& e)
{
    err << "Msg " << e.number() << ": " << e.description() << '\n';
}

bool runBatch(ado::Connection& connection, const QString& batch, const QString& separator, QTextStream& out,
              QTextStream& err)
{
    try {
        qint64 affected = -1;
        ado::Recordset rs = connection.Execute(batch, &affected);
        if (rs.State() == ado::adStateOpen)
            sqltool::printRecordset(rs, separator, out);
        else if (affected >= 0)
            out << '\n' << QStringLiteral("(%1 linhas afectadas)").arg(affected) << '\n';
        return true;
    } catch (const vb::Error& e) {
        report(err, e);
        return false;
    }
}

QString createdWith(const sqltool::SqlOptions& options)
{
    if (options.contacts > 0)
        return QStringLiteral(" com os dados de demonstração e mais ") + QString::number(options.contacts) +
               QStringLiteral(" contactos.\n");
    return options.demo ? QStringLiteral(" com os dados de demonstração.\n") : QStringLiteral(".\n");
}

int create(const sqltool::SqlOptions& options, QTextStream& out, QTextStream& err)
{
    try {
        if (options.contacts > 0)
            ado::embedded::createDemoCatalogWith(
                options.server, options.catalog, options.login, options.password,
                [&](const QString& catalogPath) {
                    ado::embedded::addGeneratedContacts(
                        catalogPath,
                        ado::embedded::GeneratedContacts{options.contacts, &TaxNumber::checkDigit});
                });
        else
            ado::embedded::createCatalogFromSchema(options.server, options.catalog, options.login,
                                                   options.password, options.demo);
        out << "Base de dados «" << options.catalog << "» criada em " << options.server
            << createdWith(options);
        return 0;
    } catch (const vb::Error& e) {
        report(err, e);
        return 1;
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (toolsupport::answeredHelpOrVersion(argc, argv, "quarvenses-sql",
                                           "corre instruções T-SQL e cria bases de dados", usageText))
        return 0;
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    const sqltool::SqlOptions options = sqltool::SqlOptions::parse(app.arguments().mid(1));
    if (!options.valid)
        return usage(err, options.problem);
    if (options.create)
        return create(options, out, err);
    ado::Connection connection;
    try {
        connection.Open(options.connectionString());
    } catch (const vb::Error& e) {
        report(err, e);
        return 1;
    }
    QString script = options.query;
    if (script.isEmpty()) {
        QFile input;
        if (!input.open(stdin, QIODevice::ReadOnly))
            return usage(err, QStringLiteral("Não foi possível ler a entrada."));
        script = QString::fromUtf8(input.readAll());
    }
    bool ok = true;
    for (const QString& batch : sqltool::splitBatches(script))
        ok = runBatch(connection, batch, options.separator, out, err) && ok;
    return ok ? 0 : 1;
}
