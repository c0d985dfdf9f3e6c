#pragma once
// The contacts database's two stored procedures, for the embedded server:
//   spDELETE_CONTACTO contacto_id, flag
//   spADD_CONTACTO_TO_GROUP contacto_id, 'file', 'group mask', 'user mask'
// Each returns one row (error_number, error_descrit), as the SQL Server
// script's procedures do, and works inside the caller's transaction when one
// is open, in its own otherwise.
#include "platform/ado/Session.h"

namespace ado::embedded {

std::optional<ResultSet> spDELETE_CONTACTO(Session& session, const QList<vb::Variant>& arguments);
std::optional<ResultSet> spADD_CONTACTO_TO_GROUP(Session& session, const QList<vb::Variant>& arguments);

// Registers both with the embedded server; later calls do nothing.
void registerSchemaProcedures();

} // namespace ado::embedded
