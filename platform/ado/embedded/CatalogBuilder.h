#pragma once
// Creates an embedded catalog from the schema scripts: the server folder and
// its first login, the tables of embedded.sql and, on request, the
// demonstration data of demo.sql.
#include "platform/ado/embedded/EmbeddedServer.h"
#include <QString>

namespace ado::embedded {

// Where the scripts are: QUARVENSES_SCHEMA_DIR, else share/quarvenses/schema
// beside the programs, else the source tree's schema folder.
QString schemaFolder();

// Throws vb::Error when the catalog exists already (it is never overwritten)
// or a script fails; a catalog left half-made is removed.
void createCatalogFromSchema(const QString& folder, const QString& catalog, const QString& login,
                             const QString& password, bool demo, HashStrength strength = HashStrength::Interactive);

} // namespace ado::embedded
