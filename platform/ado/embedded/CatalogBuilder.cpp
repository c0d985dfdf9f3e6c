#include "platform/ado/embedded/CatalogBuilder.h"
#include "platform/ado/StatementTrace.h"

#include "platform/ado/AdoError.h"
#include "platform/ado/Connection.h"
#include "platform/ado/ConnectionString.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/embedded/SqliteDatabase.h"
#include "platform/dialect/SqlFunctions.h"
#include "platform/folders/InstalledFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>
#include <vector>

namespace ado::embedded {

namespace {

const char listScript[] = "embedded-list.sql";
const char laterScript[] = "embedded-later.sql";
// Each table the later script makes.
const char selectLaterTables[] = "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name IN "
                                 "('tbContactos_Duplicados_Rejeitados', 'tbContactos_Fusoes', "
                                 "'tbContactos_VCard_Fundidos', 'tbContactos_CardDAV', "
                                 "'tbContactos_CardDAV_Livros')";
constexpr int laterTables = 5;
// Every contact's row of the list, as the list's triggers keep them.
const char insertListRows[] =
    "INSERT INTO tbContactos_Lista (contacto_id, genero_id, nome_union, no_contribuinte, telefone, email, "
    "localidade) SELECT c.contacto_id, c.genero_id, ifnull(c.nome_union, ''), ifnull(c.no_contribuinte, ''), "
    "ifnull((SELECT t.numero FROM tbContactos_Telefones t WHERE t.contacto_id = c.contacto_id "
    "ORDER BY t.telefone_default DESC, t.telefone_id LIMIT 1), ''), "
    "ifnull((SELECT e.email FROM tbContactos_Emails e WHERE e.contacto_id = c.contacto_id "
    "ORDER BY e.email_default DESC, e.email_id LIMIT 1), ''), "
    "ifnull((SELECT m.localidade FROM tbContactos_Moradas m WHERE m.contacto_id = c.contacto_id "
    "ORDER BY m.morada_default DESC, m.morada_id LIMIT 1), '') "
    "FROM tbContactos c";
// What keeps the list's own indexes: set aside while every contact's row is
// written, then made once from the sorted rows (the triggers last).
const char selectListKeeping[] =
    "SELECT type, name, sql FROM sqlite_master WHERE tbl_name = 'tbContactos_Lista' AND sql IS NOT NULL AND "
    "type IN ('index', 'trigger') ORDER BY type";
const char rebuildTrigrams[] =
    "INSERT INTO tbContactos_Lista_Trigramas (tbContactos_Lista_Trigramas) VALUES ('rebuild')";
// An index is made faster from small runs sorted on two threads and merged.
const char sortOnTwoThreads[] = "PRAGMA threads = 2";
const char sortOnOneThread[] = "PRAGMA threads = 0";
// A contacts catalog (it holds tbContactos) without the host's list.
const char selectLacksList[] =
    "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'tbContactos' AND NOT EXISTS "
    "(SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'tbContactos_Lista')";

struct SchemaObject {
    QByteArray type, name, sql;
};

void fillList(SqliteDatabase& database)
{
    std::vector<SchemaObject> aside;
    {
        SqliteStatement keeping = database.prepare(selectListKeeping);
        while (keeping.step())
            aside.push_back({keeping.columnBytes(0), keeping.columnBytes(1), keeping.columnBytes(2)});
    } // finished before the schema changes
    for (const SchemaObject& object : aside)
        database.exec(QByteArray("DROP " + object.type.toUpper() + " \"" + object.name + '"').constData());
    database.exec(insertListRows);
    database.exec(sortOnTwoThreads);
    for (const SchemaObject& object : aside) // the indexes, then the triggers
        database.exec(object.sql.constData());
    database.exec(sortOnOneThread);
    database.exec(rebuildTrigrams);
}

QString readScript(const QString& name)
{
    QFile file(schemaFolder() + u'/' + name);
    if (!file.open(QIODevice::ReadOnly))
        throw error::provider(QStringLiteral("Não foi possível ler o guião «%1».").arg(file.fileName()));
    return QString::fromUtf8(file.readAll());
}

vb::Error scriptFailed(const QString& name, const vb::Error& e)
{
    return error::provider(QStringLiteral("O guião «%1» falhou: %2").arg(name, e.description()));
}

// The tables go in as SQLite reads them; QV_CI must be known to declare them.
void runSchema(const QString& path)
{
    const QString name = QStringLiteral("embedded.sql");
    const QByteArray script = readScript(name).toUtf8();
    SqliteDatabase database(path, SqliteDatabase::ReadWrite);
    dialect::FunctionContext functions;
    dialect::registerFunctions(database.get(), &functions);
    try {
        database.exec("BEGIN");
        database.exec(script.constData());
    } catch (const vb::Error& e) {
        throw scriptFailed(name, e);
    }
    addList(database); // says which script failed itself; closing uncommitted undoes all
    addLaterTables(database);
    database.exec("COMMIT");
}

// The demonstration data is portable T-SQL: it runs through the server as
// any client's statements do.
void runDemo(const QString& folder, const QString& catalog, const QString& login, const QString& password)
{
    const QString name = QStringLiteral("demo.sql");
    const QString script = readScript(name);
    ado::ConnectionString text;
    text.set(QStringLiteral("User ID"), login);
    text.set(QStringLiteral("Password"), password);
    text.set(QStringLiteral("Initial Catalog"), catalog);
    text.set(QStringLiteral("Data Source"), folder);
    Connection connection;
    connection.Open(text.toString());
    const ado::TraceOrigin origin(name);
    connection.BeginTrans();
    try {
        connection.Execute(script);
        connection.CommitTrans();
    } catch (const vb::Error& e) {
        connection.RollbackTrans();
        throw scriptFailed(name, e);
    }
}

void checkNames(const QString& dataSource, const QString& catalog, const QString& login)
{
    if (!EmbeddedServer::isEmbeddedSource(dataSource))
        throw error::provider(
            QStringLiteral("«%1» não é uma pasta local: indique o caminho absoluto da pasta do servidor.")
                .arg(dataSource));
    if (catalog.trimmed().isEmpty() || catalog.startsWith(u'.') || catalog.contains(u'/') ||
        catalog.contains(u'\\'))
        throw error::provider(QStringLiteral("«%1» não serve de nome de base de dados.").arg(catalog));
    if (login.trimmed().isEmpty())
        throw error::provider(QStringLiteral("Tem de indicar o utilizador da base de dados."));
}

// A new server gets the login; an existing one keeps its logins as they are,
// so the login must prove its password there.
void ensureLogin(const QString& folder, const QString& login, const QString& password, HashStrength strength)
{
    if (!QFileInfo::exists(folder + QStringLiteral("/master.db"))) {
        EmbeddedServer::createLogin(folder, login, password, strength);
        return;
    }
    if (!EmbeddedServer::verifyLogin(folder, login, password))
        throw error::provider(
            QStringLiteral("O servidor em «%1» já existe e não aceita o utilizador «%2» com essa senha.")
                .arg(folder, login));
}

void removeCatalog(const QString& path)
{
    for (const char* suffix : {"", "-wal", "-shm"})
        QFile::remove(path + QString::fromLatin1(suffix));
}

void buildCatalog(const QString& dataSource, const QString& catalog, const QString& login,
                  const QString& password, bool demo, const MoreRows& more, HashStrength strength)
{
    checkNames(dataSource, catalog, login);
    const QString folder = EmbeddedServer::folderOf(dataSource);
    const QString path = EmbeddedServer::catalogPath(folder, catalog);
    if (QFileInfo::exists(path))
        throw error::provider(QStringLiteral("A base de dados «%1» já existe em «%2».").arg(catalog, folder));
    ensureLogin(folder, login, password, strength);
    EmbeddedServer::createCatalog(folder, catalog);
    try {
        runSchema(path);
        if (demo)
            runDemo(folder, catalog, login, password);
        if (more)
            more(path);
    } catch (const vb::Error&) {
        removeCatalog(path);
        throw;
    }
}

} // namespace

QString schemaFolder()
{
    const QString configured = qEnvironmentVariable("QUARVENSES_SCHEMA_DIR");
    if (!configured.isEmpty())
        return configured;
    const QString installed = platform::findDataFile(QStringLiteral("schema/embedded.sql"));
    if (!installed.isEmpty())
        return QFileInfo(installed).path();
    return qEnvironmentVariable("QUARVENSES_SOURCE_DIR") + QStringLiteral("/schema");
}

void addList(SqliteDatabase& database)
{
    const QString name = QString::fromLatin1(listScript);
    const QByteArray script = readScript(name).toUtf8();
    try {
        database.exec(script.constData());
    } catch (const vb::Error& e) {
        throw scriptFailed(name, e);
    }
    fillList(database);
}

void addLaterTables(SqliteDatabase& database)
{
    const QString name = QString::fromLatin1(laterScript);
    const QByteArray script = readScript(name).toUtf8();
    try {
        database.exec(script.constData());
    } catch (const vb::Error& e) {
        throw scriptFailed(name, e);
    }
}

bool lacksLaterTables(SqliteDatabase& database)
{
    SqliteStatement tables = database.prepare(selectLaterTables);
    return tables.step() && sqlite3_column_int(tables.get(), 0) < laterTables;
}

bool lacksList(SqliteDatabase& database)
{
    SqliteStatement table = database.prepare(selectLacksList);
    return table.step();
}

void createCatalogFromSchema(const QString& dataSource, const QString& catalog, const QString& login,
                             const QString& password, bool demo, HashStrength strength)
{
    buildCatalog(dataSource, catalog, login, password, demo, {}, strength);
}

void createDemoCatalogWith(const QString& dataSource, const QString& catalog, const QString& login,
                           const QString& password, const MoreRows& more, HashStrength strength)
{
    buildCatalog(dataSource, catalog, login, password, true, more, strength);
}

} // namespace ado::embedded
