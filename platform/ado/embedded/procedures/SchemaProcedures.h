#pragma once
// The contacts database's two stored procedures, for the embedded server:
//   spDELETE_CONTACTO contacto_id, flag
//   spADD_CONTACTO_TO_GROUP contacto_id, 'file', 'group mask', 'user mask'
// Each returns one row (error_number, error_descrit), as the SQL Server
// script's procedures do: 0 and an empty text on success; otherwise the
// reason in Portuguese, written to follow the card's "... porque ":
//   1 unknown contact (delete) / unknown file (add), 2 protected contact
//   (delete) / unknown contact (add), 3 the server refused a statement.
// The work is one unit: its own transaction when the caller has none,
// otherwise a savepoint inside the caller's, undone on any failure.
#include "platform/ado/Session.h"

namespace ado::embedded {

std::optional<ResultSet> spDELETE_CONTACTO(Session& session, const QList<vb::Variant>& arguments);
std::optional<ResultSet> spADD_CONTACTO_TO_GROUP(Session& session, const QList<vb::Variant>& arguments);

// Registers both with the embedded server; later calls do nothing.
void registerSchemaProcedures();

} // namespace ado::embedded
