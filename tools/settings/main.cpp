// quarvenses-settings: reads and writes the settings the component reads
// (shadow file first, then the registry), so that an administrator can set up
// a site's connection for Login, and moves the registry file's keys in and
// out as .reg text.
#include "platform/registry/Registry.h"
#include "platform/values/Conversions.h"
#include "platform/values/VbError.h"
#include "settings/modRegistry.h"
#include "tools/common/ConsoleWindowServices.h"
#include "tools/common/ProgramInfo.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

namespace {

QTextStream& out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream& err()
{
    static QTextStream s(stderr);
    return s;
}

const QString usageText = QStringLiteral(
    "Utilização:\n"
    "  quarvenses-settings get <chave> <valor>             texto (ficheiro sombra, depois registo)\n"
    "  quarvenses-settings get-number <chave> <valor>      número\n"
    "  quarvenses-settings set <chave> <valor> <texto>     escreve um texto no ficheiro sombra\n"
    "  quarvenses-settings set-number <chave> <valor> <n>  escreve um número\n"
    "  quarvenses-settings list                            entradas do ficheiro sombra\n"
    "  quarvenses-settings import-reg <ficheiro.reg>       importa texto .reg para o registo\n"
    "  quarvenses-settings export-reg [<chave>]            exporta o registo como texto .reg\n"
    "Exemplo: quarvenses-settings get 'HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Shared\\TLV' "
    "DataServer\n");

int usage()
{
    err() << usageText;
    return 2;
}

int printValue(const vb::Variant& value)
{
    if (value.isNull() || value.isEmpty())
        return 1;
    out() << vb::CStr(value) << '\n';
    return 0;
}

int run(const QStringList& a)
{
    const QString command = a.value(0);
    if (command == QLatin1String("get") && a.size() == 3)
        return printValue(modRegistry::ObterValorString(a[1], a[2]));
    if (command == QLatin1String("get-number") && a.size() == 3)
        return printValue(modRegistry::ObterValorDWORD(a[1], a[2]));
    if (command == QLatin1String("set-number") && a.size() == 4) {
        bool ok = false;
        const qint32 n = a[3].toInt(&ok);
        if (!ok)
            return usage();
        const vb::Variant shadow = modRegistry::DefinirValorDWORD(a[1], a[2], n);
        if (shadow.isEmpty() && modRegistry::ObterValorDWORD(a[1], a[2]).isNull()) {
            err() << "Não foi possível gravar o valor.\n";
            return 1;
        }
        return 0;
    }
    if (command == QLatin1String("set") && a.size() == 4) {
        if (!modRegistry::GarantirShadow() || !modRegistry::GravarShadow(a[1], a[2], a[3])) {
            err() << "Não foi possível gravar no ficheiro " << modRegistry::FicheiroShadow() << ".\n";
            return 1;
        }
        return 0;
    }
    if (command == QLatin1String("list") && a.size() == 1) {
        for (const QString& line : modRegistry::LinhasShadow())
            out() << line << '\n';
        return 0;
    }
    if (command == QLatin1String("import-reg") && a.size() == 2) {
        platform::Registry::current().importFile(a[1]);
        return 0;
    }
    if (command == QLatin1String("export-reg") && a.size() <= 2) {
        out() << platform::Registry::current().exportText(a.value(1));
        return 0;
    }
    return usage();
}

} // namespace

int main(int argc, char** argv)
{
    if (toolsupport::answeredHelpOrVersion(argc, argv, "quarvenses-settings",
                                           "lê e escreve as definições guardadas", usageText))
        return 0;
    QCoreApplication app(argc, argv);
    ConsoleWindowServices::install();
    try {
        return run(app.arguments().mid(1));
    } catch (const vb::Error& e) {
        err() << e.description() << '\n';
        return 1;
    }
}
