#pragma once
// Prints a result set as sqlcmd does: an aligned table (or separated values),
// then the row count.
#include "platform/ado/Recordset.h"
#include <QTextStream>

namespace sqltool {

// separator empty: aligned columns; otherwise values joined by it (quoted
// when they hold it, a quote or a line break).
void printRecordset(ado::Recordset& rs, const QString& separator, QTextStream& out);
QString displayText(const vb::Variant& value);

} // namespace sqltool
