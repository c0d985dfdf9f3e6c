#include "tools/sql/SqlOptions.h"

#include "tools/common/ToolConnection.h"
#include "tools/sql/ContactGenerator.h"
#include <QRegularExpression>

namespace sqltool {

SqlOptions SqlOptions::parse(const QStringList& arguments)
{
    SqlOptions options;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& flag = arguments[i];
        if (flag == QLatin1String("--create") || flag == QLatin1String("--demo")) {
            (flag == QLatin1String("--create") ? options.create : options.demo) = true;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            options.problem = QStringLiteral("Falta o valor de %1.").arg(flag);
            return options;
        }
        const QString value = arguments[++i];
        if (flag == QLatin1String("-S"))
            options.server = value;
        else if (flag == QLatin1String("-d"))
            options.catalog = value;
        else if (flag == QLatin1String("-U"))
            options.login = value;
        else if (flag == QLatin1String("-P"))
            options.password = value;
        else if (flag == QLatin1String("-Q"))
            options.query = value;
        else if (flag == QLatin1String("-s"))
            options.separator = value;
        else if (flag == QLatin1String("--contacts")) {
            bool number = false;
            options.contacts = value.toInt(&number);
            if (!number || options.contacts < 0 || options.contacts > ado::embedded::maxGeneratedContacts) {
                options.problem = QStringLiteral("--contacts espera um número de 0 a ") +
                                  QString::number(ado::embedded::maxGeneratedContacts) + u'.';
                return options;
            }
        } else {
            options.problem = QStringLiteral("Opção desconhecida: %1.").arg(flag);
            return options;
        }
    }
    if (options.server.isEmpty() || options.catalog.isEmpty() || options.login.isEmpty()) {
        options.problem = QStringLiteral("Tem de indicar -S, -d e -U.");
        return options;
    }
    if (options.demo && !options.create) {
        options.problem = QStringLiteral("--demo só acompanha --create.");
        return options;
    }
    if (options.contacts > 0 && !options.demo) {
        options.problem = QStringLiteral("--contacts só acompanha --create --demo.");
        return options;
    }
    options.valid = true;
    return options;
}

QString SqlOptions::connectionString() const
{
    return toolConnectionString(server, catalog, login, password);
}

QStringList splitBatches(const QString& script)
{
    static const QRegularExpression go(QStringLiteral("^\\s*GO\\s*$"),
                                       QRegularExpression::CaseInsensitiveOption |
                                           QRegularExpression::MultilineOption);
    QStringList batches;
    for (const QString& batch : script.split(go))
        if (!batch.trimmed().isEmpty())
            batches.append(batch);
    return batches;
}

} // namespace sqltool
