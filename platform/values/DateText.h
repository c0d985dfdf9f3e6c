#pragma once
// VB's dates: the serial (days since 30 December 1899, the time of day as the
// fraction, in absolute value for days before it), its calendar fields, and
// the reading of dates and times typed under the regional settings.
#include "platform/values/Regional.h"

#include <QStringView>
#include <optional>

namespace vb::detail {

// VB's range: 1 January 100 to 31 December 9999.
inline constexpr double MinDateSerial = -657434.0;
inline constexpr double MaxDateSerial = 2958465.0;
bool serialInRange(double serial);

struct DateParts {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
    int weekday = 7; // VB's Weekday: 1 Sunday … 7 Saturday
    int dayOfYear = 364;
};

bool isValidDate(int year, int month, int day); // proleptic Gregorian, years 100-9999
qint64 dayNumber(int year, int month, int day); // days since 1899-12-30
// A day number and a time of day in seconds as a serial.
double serialOf(qint64 days, int secondsOfDay);
// The serial's fields, the time rounded to the nearest second. The caller
// checks the range.
DateParts partsOf(double serial);

// The short date and the long time as the regional settings write them, and
// VB's general date: the date alone at midnight, the time alone on day 0.
QString shortDateText(const DateParts& p, const Regional& r);
QString longTimeText(const DateParts& p, const Regional& r);
QString generalDateText(double serial, const Regional& r);

// A date, a time, or a date followed by a time: "05-03-2024", "5/3/2024",
// "5.3.24", "2024-03-05", "14:07", "14:07:09", "2:07 PM", "5/3/2024 14:07:09".
// Three-field dates only; fields are taken in the regional order unless the
// first has three or four digits (then year-month-day). An impossible day or
// month makes the text no date (no swapping of day and month).
std::optional<double> parseDate(QStringView text, const Regional& r);

} // namespace vb::detail
