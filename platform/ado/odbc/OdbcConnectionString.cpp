#include "platform/ado/odbc/OdbcConnectionString.h"

namespace ado::odbc {

QString odbcValue(const QString& value)
{
    const bool outerBlank = !value.isEmpty() && (value.front().isSpace() || value.back().isSpace());
    if (!outerBlank && !value.contains(u';') && !value.contains(u'{') && !value.contains(u'}') &&
        !value.contains(u'='))
        return value;
    QString doubled = value;
    doubled.replace(u'}', QStringLiteral("}}"));
    return u'{' + doubled + u'}';
}

QString odbcConnectionString(const ConnectionString& connection)
{
    const QString source = connection.dataSource();
    if (source.startsWith(QStringLiteral("odbc:"), Qt::CaseInsensitive))
        return source.mid(5);
    const QString driver = qEnvironmentVariable("QUARVENSES_ODBC_DRIVER", QStringLiteral("FreeTDS"));
    QString text = QStringLiteral("Driver=") + odbcValue(driver) + u';';
    // SQL Server's "host\instance" and "host,port" forms pass through as the server name.
    text += QStringLiteral("Server=") + odbcValue(source) + u';';
    if (!connection.initialCatalog().isEmpty())
        text += QStringLiteral("Database=") + odbcValue(connection.initialCatalog()) + u';';
    text += QStringLiteral("UID=") + odbcValue(connection.userId()) + u';';
    text += QStringLiteral("PWD=") + odbcValue(connection.password()) + u';';
    if (driver.contains(QStringLiteral("FreeTDS"), Qt::CaseInsensitive) ||
        driver.contains(QStringLiteral("tdsodbc")))
        text += QStringLiteral("TDS_Version=7.4;");
    if (connection.contains(QStringLiteral("Encrypt")))
        text += QStringLiteral("Encrypt=") + odbcValue(connection.value(QStringLiteral("Encrypt"))) + u';';
    return text;
}

} // namespace ado::odbc
