#include "tools/vcard/VCardOptions.h"

#include "tools/common/ToolConnection.h"

namespace vcardtool {

namespace {

const QString exportVerb = QStringLiteral("export");
const QString importVerb = QStringLiteral("import");

} // namespace

QString usage()
{
    return QStringLiteral(
        "Utilização: quarvenses-vcard export -S <servidor> -d <base de dados> -U <utilizador> -P <senha>\n"
        "                                [--user <utilizador>] [--id N …] [-o <ficheiro>]\n"
        "            quarvenses-vcard import -S <servidor> -d <base de dados> -U <utilizador> -P <senha>\n"
        "                                [--user <utilizador>] [--update] [--dry-run] <ficheiro>…\n"
        "Um cartão é o de um contacto guardado quando tem o mesmo UID, ou o mesmo NIF, e-mail ou telefone\n"
        "com o mesmo nome; --update actualiza só esses. Um e-mail ou telefone partilhado sob outro nome\n"
        "cria um contacto novo e diz a quem se parece.\n"
        "Um valor mais comprido do que a sua coluna fica cortado e o resumo di-lo; o cartão inteiro volta\n"
        "a sair na exportação enquanto o contacto não mudar.\n"
        "A exportação escreve vCard 4.0 e só grava os UID que dá quando o ficheiro fica escrito.\n"
        "Estado de saída: 0 tudo importado ou exportado; 1 algum cartão ignorado ou recusado, um ficheiro\n"
        "por ler ou por escrever, ou um contacto por exportar; 2 argumentos errados, sem ligação ou um\n"
        "utilizador que o catálogo não conhece.\n");
}

VCardOptions VCardOptions::parse(const QStringList& arguments)
{
    VCardOptions o;
    o.verb = arguments.value(0);
    if (o.verb != exportVerb && o.verb != importVerb) {
        o.problem = QStringLiteral("Indique export ou import.");
        return o;
    }
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& flag = arguments[i];
        if (flag == QLatin1String("--update") || flag == QLatin1String("--dry-run")) {
            (flag == QLatin1String("--update") ? o.update : o.dryRun) = true;
            continue;
        }
        if (!flag.startsWith(u'-')) {
            o.files << flag;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            o.problem = QStringLiteral("Falta o valor de %1.").arg(flag);
            return o;
        }
        const QString value = arguments[++i];
        if (flag == QLatin1String("-S"))
            o.server = value;
        else if (flag == QLatin1String("-d"))
            o.catalog = value;
        else if (flag == QLatin1String("-U"))
            o.login = value;
        else if (flag == QLatin1String("-P"))
            o.password = value;
        else if (flag == QLatin1String("--user"))
            o.user = value;
        else if (flag == QLatin1String("-o"))
            o.output = value;
        else if (flag == QLatin1String("--id")) {
            bool ok = false;
            const qint32 id = value.toInt(&ok);
            if (!ok || id <= 0) {
                o.problem = QStringLiteral("--id quer um número de contacto, não «%1».").arg(value);
                return o;
            }
            o.ids << id;
        } else {
            o.problem = QStringLiteral("Opção desconhecida: %1.").arg(flag);
            return o;
        }
    }
    if (o.server.isEmpty() || o.catalog.isEmpty() || o.login.isEmpty())
        o.problem = QStringLiteral("Tem de indicar -S, -d e -U.");
    else if (o.verb == importVerb && o.files.isEmpty())
        o.problem = QStringLiteral("Indique os ficheiros a importar.");
    else if (o.verb == exportVerb && (o.update || o.dryRun || !o.files.isEmpty()))
        o.problem = QStringLiteral("--update, --dry-run e ficheiros só acompanham import.");
    else if (o.verb == importVerb && (!o.ids.isEmpty() || !o.output.isEmpty()))
        o.problem = QStringLiteral("--id e -o só acompanham export.");
    if (o.user.isEmpty())
        o.user = o.login;
    return o;
}

QString VCardOptions::connectionString() const
{
    return toolConnectionString(server, catalog, login, password);
}

} // namespace vcardtool
