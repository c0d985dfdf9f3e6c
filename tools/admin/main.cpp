// quarvenses-admin: answers an administrator's "why can't this user open
// this contact?".
//   quarvenses-admin can -S <server> -d <db> -U <login> -P <password> <user> <contacto_id> <action>
//     prints "permitido" or "recusado", the condition built for the user and
//     the statement that decided; exit 0 allowed, 1 refused.
//   quarvenses-admin check-codes -S … -d … -U … -P …
//     lists the user and group codes that break the fixed-width "$" rule.
#include "connection/ConnectionState.h"
#include "connection/StringCipher.h"
#include "permissions/modCheckPermissions.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/SqlCompose.h"
#include "platform/ado/StatementTrace.h"
#include "platform/values/Conversions.h"
#include "tools/admin/CodeCheck.h"
#include "tools/common/ConsoleWindowServices.h"
#include "tools/common/ProgramInfo.h"
#include "tools/common/ToolConnection.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

struct Arguments {
    QString verb, server, catalog, login, password;
    QStringList rest;
};

Arguments parse(const QStringList& args)
{
    Arguments a;
    a.verb = args.value(0);
    for (int i = 1; i < args.size(); ++i) {
        const QString& f = args[i];
        QString* target = f == QLatin1String("-S")   ? &a.server
                          : f == QLatin1String("-d") ? &a.catalog
                          : f == QLatin1String("-U") ? &a.login
                          : f == QLatin1String("-P") ? &a.password
                                                     : nullptr;
        if (target && i + 1 < args.size())
            *target = args[++i];
        else
            a.rest.append(f);
    }
    return a;
}

const QString usageText = QStringLiteral(
    "Utilização: quarvenses-admin can -S <servidor> -d <base de dados> -U <utilizador> -P <senha> "
    "<utilizador> "
    "<contacto_id> <acção 0-4>\n"
    "            quarvenses-admin check-codes -S <servidor> -d <base de dados> -U <utilizador> -P "
    "<senha>\n");

int usage(QTextStream& err)
{
    err << usageText;
    return 2;
}

void connect(const Arguments& a)
{
    const QString s = toolConnectionString(a.server, a.catalog, a.login, a.password);
    Conn().strSQLMasterConnString = StringCipher::Encipher(s);
    Data().SqlServer.Open(s);
}

const char* const grants[] = {"1[012][012][012]", "[012]1[012][012]", "[012][012]1[012]", "[012][012][012]1"};
const char* const denials[] = {"2[012][012][012]", "[012]2[012][012]", "[012][012]2[012]",
                               "[012][012][012]2"};

int can(const Arguments& a, QTextStream& out, QTextStream& err)
{
    if (a.rest.size() != 3)
        return usage(err);
    const QString user = a.rest[0];
    const qint32 id = a.rest[1].toInt();
    const qint32 action = a.rest[2].toInt();
    QStringList decided;
    bool allowed = false;
    {
        ado::ScopedTrace trace([&](const ado::TraceEntry& e) {
            if (e.kind == ado::TraceEntry::Kind::Statement &&
                !e.statement.startsWith(QStringLiteral("SELECT @@TRANCOUNT")) &&
                !e.statement.startsWith(QStringLiteral("SELECT tbGroups.code")))
                decided.append(e.statement);
        });
        allowed = modCheckPermissions::CheckObjectSecurity(user, id, 2, action);
    }
    out << (allowed ? "permitido" : "recusado") << '\n';
    if (action >= 0 && action <= 3)
        out << "Condição: "
            << modCheckPermissions::ReadPermitionsDef(user, {}, false, QString::fromLatin1(grants[action]),
                                                      QString::fromLatin1(denials[action]))
            << '\n';
    else if (action == 4)
        out << "Condição: "
            << modCheckPermissions::ReadPermitionsDef(user, QStringLiteral("code"), false, {}, {}) << '\n';
    out << "Instrução: " << (decided.isEmpty() ? QStringLiteral("(nenhuma)") : decided.last()) << '\n';
    return allowed ? 0 : 1;
}

int checkCodesCommand(QTextStream& out)
{
    QList<CodeOwner> codes;
    for (const auto& [table, kind] : {std::pair{"tbUsers", "utilizador"}, {"tbGroups", "grupo"}}) {
        ado::Recordset rs = Data().SqlServer.Execute(
            sql::compose(u"SELECT descrit, code FROM %1", {QString::fromLatin1(table)}));
        for (; !rs.Eof(); rs.MoveNext())
            codes.append(
                {QString::fromLatin1(kind) + u' ' + vb::CStr(rs(QStringLiteral("descrit"))),
                 rs(QStringLiteral("code")).isNull() ? QString() : vb::CStr(rs(QStringLiteral("code")))});
    }
    const QList<CodeProblem> problems = checkCodes(codes);
    for (const CodeProblem& p : problems)
        out << p.owner << ": o código «" << p.code << "» " << p.why << '\n';
    if (problems.isEmpty())
        out << "Todos os " << codes.size() << " códigos seguem a regra.\n";
    return problems.isEmpty() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (toolsupport::answeredHelpOrVersion(argc, argv, "quarvenses-admin",
                                           "explica as decisões de permissões e verifica os códigos",
                                           usageText))
        return 0;
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    ConsoleWindowServices::install();
    const Arguments a = parse(app.arguments().mid(1));
    if ((a.verb != QLatin1String("can") && a.verb != QLatin1String("check-codes")) || a.server.isEmpty() ||
        a.catalog.isEmpty())
        return usage(err);
    try {
        connect(a);
        return a.verb == QLatin1String("can") ? can(a, out, err) : checkCodesCommand(out);
    } catch (const vb::Error& e) {
        err << "Msg " << e.number() << ": " << e.description() << '\n';
        return 2;
    }
}
