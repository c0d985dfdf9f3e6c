#pragma once
// The connection strings of the component, piece by piece:
//   "Provider=SQLOLEDB.1;" "Persist Security Info=" info ";" "User ID=" login ";"
//   "Password=" password (";Encrypt=yes;" or ";") "Initial Catalog=" catalog ";"
//   "Data Source=" server ";" "Connect Timeout=15"
// A value holding ";", a quote or outer blanks is quoted by OLE DB's rules, so
// it can neither break the string nor add keywords; every other value goes in
// as it is.
#include <QString>

namespace ConnectionStrings {

enum class Ending { Encrypt, Plain };

QString build(const QString& securityInfo, const QString& login, const QString& password, Ending ending,
              const QString& catalog, const QString& server);

} // namespace ConnectionStrings
