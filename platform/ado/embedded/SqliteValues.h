#pragma once
// How the embedded server's values become the VB values a recordset holds, and
// back: the declared column type decides (BIT is Boolean, DATETIME a date kept
// as text, MONEY Currency), the stored value otherwise.
#include "platform/values/Variant.h"

struct sqlite3_stmt;

namespace ado::embedded {

int columnType(sqlite3_stmt* statement, int column); // an ado::DataType
vb::Variant columnValue(sqlite3_stmt* statement, int column, int type);
// Binds to a "?" marker; throws the provider error when SQLite refuses.
void bindValue(sqlite3_stmt* statement, int index, const vb::Variant& value);

QString dateText(double serial);
bool parseDateText(const QString& text, double* serial);

} // namespace ado::embedded
