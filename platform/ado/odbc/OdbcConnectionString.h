#pragma once
// The DSN-less ODBC connection string for a SQL Server named in an OLE DB
// connection string. The driver is QUARVENSES_ODBC_DRIVER (a name from
// odbcinst.ini or a driver's path), FreeTDS by default with TDS version 7.4.
// A data source written "odbc:<ODBC connection string>" is used as it
// stands (tests reach the SQLite ODBC driver this way).
#include "platform/ado/ConnectionString.h"

namespace ado::odbc {

QString odbcConnectionString(const ConnectionString& connection);
// A value as ODBC needs it: in braces, "}" doubled, when it holds ";", a
// brace, "=" or outer blanks; unchanged otherwise.
QString odbcValue(const QString& value);

} // namespace ado::odbc
