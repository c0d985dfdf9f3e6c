#pragma once
// Values written into SQL text, and query fields shown in the display formats.
#include "platform/ado/Recordset.h"
#include "platform/values/Variant.h"

#include <QString>

namespace modData {

// Value kinds chosen by the caller.
enum Kind : int {
    kDate = 1,
    kNumber = 2,
    kText = 3,        // text that may be null
    kTextNotNull = 4, // text that is never null
    kDateTime = 5,
    kPattern = 6, // search pattern for LIKE
    kNumber2 = 7, // number, same as 2
};

// The SQL literal that stands for the value. Conversion failures reach the
// caller, whose own handler reports them.
QString FormatSQLValue(const vb::Variant& value, int kind);

// The LIKE pattern a typed search text stands for, before it is made a
// literal: trimmed, each space "any run", "%" around ("ana silva" is
// "%ana%silva%").
QString SearchPattern(const vb::Variant& value);

// Whether the text of the value is a number under the regional settings,
// with either "," or "." typed as the decimal point.
bool IsNumericLocale(const vb::Variant& value);

// The display text of one field of the current record; " " for a missing
// field or a Null value. Reports and returns what it had on failure.
QString ListField(const ado::Recordset& rs, const QString& fieldName, int kind);

// The regional thousands and decimal separators, fetched the first time they
// are needed and kept. Forget them when the process's regional settings change.
const QString& ThousandsSeparator();
const QString& DecimalSeparator();
void ForgetRegionalSeparators();

} // namespace modData
