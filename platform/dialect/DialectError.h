#pragma once
#include "platform/values/VbError.h"

namespace dialect {

// A statement the embedded server cannot run as written.
vb::Error unsupported(const QString& construct);
vb::Error malformed(const QString& what);

} // namespace dialect
