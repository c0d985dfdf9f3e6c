#include "platform/ado/embedded/CatalogBuilder.h"

#include "platform/ado/AdoError.h"
#include "platform/ado/Connection.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/embedded/SqliteDatabase.h"
#include "platform/dialect/SqlFunctions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace ado::embedded {

namespace {

QString readScript(const QString& name)
{
    QFile file(schemaFolder() + u'/' + name);
    if (!file.open(QIODevice::ReadOnly))
        throw error::provider(QStringLiteral("Não foi possível ler o guião «%1».").arg(file.fileName()));
    return QString::fromUtf8(file.readAll());
}

void runSchema(const QString& path)
{
    SqliteDatabase database(path, SqliteDatabase::ReadWrite);
    dialect::FunctionContext functions;
    dialect::registerFunctions(database.get(), &functions);
    database.exec("BEGIN");
    database.exec(readScript(QStringLiteral("embedded.sql")).toUtf8().constData());
    database.exec("COMMIT");
}

// The demonstration data is portable T-SQL: it runs through the server as
// any client's statements do.
void runDemo(const QString& folder, const QString& catalog, const QString& login, const QString& password)
{
    ado::ConnectionString text;
    text.set(QStringLiteral("User ID"), login);
    text.set(QStringLiteral("Password"), password);
    text.set(QStringLiteral("Initial Catalog"), catalog);
    text.set(QStringLiteral("Data Source"), folder);
    Connection connection;
    connection.Open(text.toString());
    connection.BeginTrans();
    try {
        connection.Execute(readScript(QStringLiteral("demo.sql")));
        connection.CommitTrans();
    } catch (const vb::Error&) {
        connection.RollbackTrans();
        throw;
    }
}

} // namespace

QString schemaFolder()
{
    const QString configured = qEnvironmentVariable("QUARVENSES_SCHEMA_DIR");
    if (!configured.isEmpty())
        return configured;
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/quarvenses/schema");
    if (QFileInfo::exists(beside + QStringLiteral("/embedded.sql")))
        return QDir::cleanPath(beside);
    return qEnvironmentVariable("QUARVENSES_SOURCE_DIR") + QStringLiteral("/schema");
}

void createCatalogFromSchema(const QString& folder, const QString& catalog, const QString& login,
                             const QString& password, bool demo, HashStrength strength)
{
    const QString path = EmbeddedServer::catalogPath(folder, catalog);
    if (QFileInfo::exists(path))
        throw error::provider(QStringLiteral("A base de dados «%1» já existe em «%2».").arg(catalog, folder));
    EmbeddedServer::createLogin(folder, login, password, strength);
    EmbeddedServer::createCatalog(folder, catalog);
    try {
        runSchema(path);
        if (demo)
            runDemo(folder, catalog, login, password);
    } catch (const vb::Error&) {
        for (const char* suffix : {"", "-wal", "-shm"})
            QFile::remove(path + QString::fromLatin1(suffix));
        throw;
    }
}

} // namespace ado::embedded
