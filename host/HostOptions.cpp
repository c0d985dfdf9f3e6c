#include "host/HostOptions.h"

HostOptions HostOptions::parse(const QStringList& arguments)
{
    HostOptions o;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& flag = arguments[i];
        if (i + 1 >= arguments.size()) {
            o.problem = QStringLiteral("Falta o valor de %1.").arg(flag);
            return o;
        }
        const QString value = arguments[++i];
        if (flag == QLatin1String("--data"))
            o.dataFolder = value;
        else if (flag == QLatin1String("--open"))
            o.openContact = value.toInt();
        else if (flag == QLatin1String("--screenshot"))
            o.screenshot = value;
        else if (flag == QLatin1String("--server"))
            o.server = value;
        else if (flag == QLatin1String("--catalog"))
            o.catalog = value;
        else if (flag == QLatin1String("--secondary"))
            o.secondary = value;
        else if (flag == QLatin1String("--login"))
            o.login = value;
        else if (flag == QLatin1String("--login-password"))
            o.loginPassword = value;
        else {
            o.problem = QStringLiteral("Opção desconhecida: %1.").arg(flag);
            return o;
        }
    }
    return o;
}
