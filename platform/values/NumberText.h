#pragma once
// Reading numbers from text: under the regional settings as VB's CDbl and
// IsNumeric do, and with "." always as VB's Val does.
#include "platform/values/Regional.h"

#include <QStringView>

namespace vb::detail {

struct ParsedNumber {
    enum Status { Number, NotNumber, Overflow };
    Status status = NotNumber;
    double value = 0.0;
};

// Spaces around, a sign, digits with thousands separators anywhere in the
// whole part, one decimal separator, an exponent (E or D), or &H / &O.
ParsedNumber parseNumber(QStringView text, const Regional& r);

// VB's Val: white space ignored throughout, "." as decimal point, stops at
// the first character that cannot continue the number.
ParsedNumber parseVal(QStringView text);

} // namespace vb::detail
