#pragma once
// VB's conversion and test functions, with VB's rules: CInt/CLng round halves
// to even and raise Overflow (6); a value that cannot be converted raises Type
// mismatch (13); texts are read under the process's regional settings.
#include "platform/values/Variant.h"
#include <QDateTime>

namespace vb {

QString CStr(const Variant& v); // Null raises 94 "Invalid use of Null"
qint16 CInt(const Variant& v);
qint32 CLng(const Variant& v);
float CSng(const Variant& v);
double CDbl(const Variant& v);
bool CBool(const Variant& v);
Variant CDate(const Variant& v); // a Variant of type Date; out of 100-9999 raises Overflow
Currency CCur(const Variant& v);

double Val(const QString& s); // leading number, "." as decimal point always, as VB's Val
bool IsNumeric(const Variant& v);
bool IsDate(const Variant& v);
inline bool IsNull(const Variant& v)
{
    return v.isNull();
}
inline bool IsEmpty(const Variant& v)
{
    return v.isEmpty();
}
inline bool IsMissing(const Variant& v)
{
    return v.isMissing();
}

QString Trim(const QString& s); // spaces only, as VB
QString LTrim(const QString& s);
QString RTrim(const QString& s);

enum class Compare { Binary = 0, Text = 1 };
int StrComp(const QString& a, const QString& b, Compare mode = Compare::Binary);
// VB's "=" between two variants (numbers by value, texts by the compare mode,
// Empty as 0 or "", Null never equal).
bool Equals(const Variant& a, const Variant& b, Compare mode = Compare::Binary);

// Date serial ↔ Qt date and time. 1899-12-30 is 0, 1900-01-01 is 2.
double DateSerial(const QDate& d);
double TimeSerial(const QTime& t);
double ToSerial(const QDateTime& dt);
// A local date-time; in a daylight-saving gap Qt moves the time on, so read
// SerialDate and SerialTime when the exact fields matter. Times are rounded
// to the second; an out-of-range or non-finite serial gives an invalid value.
QDateTime FromSerial(double serial);
// The same moment to the millisecond the serial holds (what a server keeps),
// where FromSerial stops at the second as VB's date parts do.
QDateTime FromSerialToMillisecond(double serial);
QDate SerialDate(double serial);
QTime SerialTime(double serial);

} // namespace vb
