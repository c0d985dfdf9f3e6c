// quarvenses-carddav: two-way sync of a contact file with an address book on
// a CardDAV server, with the rights of a user of the contacts. Where a
// contact changed on both sides the catalog's version stays and the
// server's is filed in the contact's archive.
// Exits 0 when everything was synced, 1 when the sync stopped or left
// something for the next one, 2 on a wrong command line, an unreachable
// catalog or a user the catalog does not know.
#include "documents/carddav/CardDavSync.h"
#include "permissions/ContactsFile.h"
#include "tools/common/ConsoleWindowServices.h"
#include "tools/common/ProgramInfo.h"
#include "tools/common/ToolCatalog.h"
#include "tools/common/ToolConnection.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

const QString productName = QStringLiteral("Quarvenses");
const char* const passwordVariable = "QUARVENSES_CARDDAV_PASSWORD";

struct Options {
    QString server, catalog, login, password, user;
    QString url, davUser, davPassword, file = contactsfile::name;
    bool plainHttp = false;
    QString problem;
};

QString usage()
{
    return QStringLiteral(
        "Utilização: quarvenses-carddav sync -S <servidor> -d <base de dados> -U <utilizador> -P <senha>\n"
        "                                [--user <utilizador>] --url <endereço> --dav-user <utilizador>\n"
        "                                [--file <ficheiro>] [--http]\n"
        "Sincroniza nos dois sentidos um ficheiro de contactos (por omissão «Contactos Quarvenses»), tal\n"
        "como o utilizador o pode abrir, com um livro de endereços num servidor CardDAV. O endereço pode "
        "ser\n"
        "o do livro ou o do servidor: o livro procura-se a partir dele.\n"
        "A senha do servidor CardDAV lê-se da variável QUARVENSES_CARDDAV_PASSWORD.\n"
        "Só se usa HTTPS, com o certificado verificado; --http deixa usar HTTP sem cifra (no próprio\n"
        "computador é sempre permitido).\n"
        "Um contacto alterado nos dois lados fica como está no catálogo; a versão do servidor fica no\n"
        "arquivo do contacto. Um cartão apagado no servidor tira o contacto do ficheiro, sem o apagar.\n"
        "Estado de saída: 0 tudo sincronizado; 1 a sincronização parou ou deixou algo para a próxima;\n"
        "2 argumentos errados, sem ligação ao catálogo ou um utilizador que o catálogo não conhece.\n");
}

Options parse(const QStringList& arguments)
{
    Options o;
    if (arguments.value(0) != QLatin1String("sync")) {
        o.problem = QStringLiteral("Indique sync.");
        return o;
    }
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& flag = arguments[i];
        if (flag == QLatin1String("--http")) {
            o.plainHttp = true;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            o.problem = QStringLiteral("Falta o valor de ") + flag + u'.';
            return o;
        }
        const QString value = arguments[++i];
        QString* target = flag == QLatin1String("-S")           ? &o.server
                          : flag == QLatin1String("-d")         ? &o.catalog
                          : flag == QLatin1String("-U")         ? &o.login
                          : flag == QLatin1String("-P")         ? &o.password
                          : flag == QLatin1String("--user")     ? &o.user
                          : flag == QLatin1String("--url")      ? &o.url
                          : flag == QLatin1String("--dav-user") ? &o.davUser
                          : flag == QLatin1String("--file")     ? &o.file
                                                                : nullptr;
        if (!target) {
            o.problem = QStringLiteral("Opção desconhecida: ") + flag + u'.';
            return o;
        }
        *target = value;
    }
    o.davPassword = qEnvironmentVariable(passwordVariable);
    if (o.server.isEmpty() || o.catalog.isEmpty() || o.login.isEmpty())
        o.problem = QStringLiteral("Tem de indicar -S, -d e -U.");
    else if (o.url.isEmpty() || o.davUser.isEmpty())
        o.problem = QStringLiteral("Tem de indicar --url e --dav-user.");
    if (o.user.isEmpty())
        o.user = o.login;
    return o;
}

int report(const carddav::SyncSummary& summary, QTextStream& out, QTextStream& err)
{
    if (!summary.book.isEmpty())
        out << "Livro de endereços: " << summary.book << '\n';
    for (const QString& line : summary.lines)
        out << "  " << line << '\n';
    for (const QString& line : summary.archived)
        out << "  Guardado no arquivo: " << line << '\n';
    for (const QString& line : summary.refused)
        err << "Por fazer: " << line << '\n';
    out << summary.totals() << '\n';
    if (!summary.failure.isEmpty())
        err << "A sincronização parou: " << summary.failure << ".\n";
    return summary.complete() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (toolsupport::answeredHelpOrVersion(argc, argv, "quarvenses-carddav",
                                           "sincroniza os contactos com um livro de endereços CardDAV",
                                           usage()))
        return 0;
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    ConsoleWindowServices::install();
    const Options o = parse(app.arguments().mid(1));
    if (!o.problem.isEmpty()) {
        err << o.problem << '\n' << usage();
        return 2;
    }
    if (const QString failure = toolcatalog::openAs(
            o.server, o.catalog, toolConnectionString(o.server, o.catalog, o.login, o.password), o.user,
            productName);
        !failure.isEmpty()) {
        err << failure << '\n';
        return 2;
    }
    carddav::DavClient client({o.davUser, o.davPassword, o.plainHttp});
    carddav::CatalogWins catalogWins;
    const carddav::SyncSummary summary =
        carddav::synchronise(client, {QUrl::fromUserInput(o.url), o.file, o.user}, catalogWins);
    return report(summary, out, err);
}
