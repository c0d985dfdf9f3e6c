#pragma once
// VB's Format(value, mask): sections separated by ";", digit placeholders 0
// and #, grouping, percent, literal text; d/dd, m/mm, yy/yyyy, h/hh, n/nn,
// s/ss for dates, with "/" and ":" standing for the regional separators.
#include "platform/values/Variant.h"

// A mask with a digit placeholder (0 or #) is a number mask: the value is
// taken as a number (a numeric text is read under the regional settings, a
// Date as its serial) and other texts are shown unchanged. Otherwise a mask
// with date letters is a date mask: texts are read as dates, numbers as
// serials. Sections: positive;negative;zero;null. Null gives "" unless there
// is a fourth section. VB's named formats (Fixed, Standard, Percent,
// Scientific, General Number, Yes/No, True/False, On/Off, General/Long/
// Medium/Short Date, Long/Medium/Short Time) are understood; "Currency" is
// not. No mask gives CStr's text, and "" for Null. Missing and objects raise
// Type mismatch; a date outside years 100-9999 raises Overflow.
namespace vb {

QString Format(const Variant& value, const QString& mask = {});

} // namespace vb
