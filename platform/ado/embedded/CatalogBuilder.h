#pragma once
// Creates an embedded catalog from the schema scripts: the server folder and
// its first login, the tables of embedded.sql and, on request, the
// demonstration data of demo.sql.
#include "platform/ado/embedded/EmbeddedServer.h"
#include <QString>
#include <functional>

namespace ado::embedded {

class SqliteDatabase;

// Where the scripts are: QUARVENSES_SCHEMA_DIR, else share/quarvenses/schema
// beside the programs, else the source tree's schema folder
// (QUARVENSES_SOURCE_DIR).
QString schemaFolder();

// `dataSource` names the server's folder as a connection string does (an
// absolute path, or "file:" and one). Throws vb::Error when it is not a local
// folder, the catalog's name is not a plain name, the catalog exists already
// (it is never overwritten), an existing server does not accept the login
// with that password (its logins are never replaced), or a script fails (the
// half-made catalog is then removed).
void createCatalogFromSchema(const QString& dataSource, const QString& catalog, const QString& login,
                             const QString& password, bool demo,
                             HashStrength strength = HashStrength::Interactive);
// The same with the demonstration data, then `more` run on the new
// catalog's file (the tool's generated contacts); a failure of it removes
// the catalog too.
using MoreRows = std::function<void(const QString& catalogPath)>;
void createDemoCatalogWith(const QString& dataSource, const QString& catalog, const QString& login,
                           const QString& password, const MoreRows& more,
                           HashStrength strength = HashStrength::Interactive);

// The host's list of contacts (embedded-list.sql): its table, indexes and
// the triggers that keep it, filled from the contacts the catalog holds; in
// the caller's transaction. A catalog made before the list gets it from the
// first session that opens it.
void addList(SqliteDatabase& database);
// A contacts catalog without the list.
bool lacksList(SqliteDatabase& database);
// The tables added since catalogs were first made, where one is missing.
void addLaterTables(SqliteDatabase& database);
bool lacksLaterTables(SqliteDatabase& database);

} // namespace ado::embedded
