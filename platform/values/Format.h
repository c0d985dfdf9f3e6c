#pragma once
// VB's Format(value, mask): sections separated by ";", digit placeholders 0
// and #, grouping, percent, literal text; d/dd, m/mm, yy/yyyy, h/hh, n/nn,
// s/ss for dates, with "/" and ":" standing for the regional separators.
#include "platform/values/Variant.h"

namespace vb {

QString Format(const Variant& value, const QString& mask = {});

} // namespace vb
