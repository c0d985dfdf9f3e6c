#pragma once
#include "platform/values/VbError.h"

namespace dialect {

// A statement the embedded server cannot run as written.
vb::Error unsupported(const QString& construct);
vb::Error malformed(const QString& what);
// What SQL Server refuses when it compiles a statement, with its message
// number (NativeError), so that the embedded server never lets pass what a
// site's server would refuse.
vb::Error refusedAsTheServerDoes(int message, const QString& text);
inline constexpr int repeatedOrderByColumn = 169;

} // namespace dialect
