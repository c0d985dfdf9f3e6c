#pragma once
// The user's regional settings as VB and the Windows API see them: read once
// from the locale, settable per process (tests run under pt-PT and en-US).
#include <QLocale>
#include <QString>

namespace vb {

enum class DateOrder { DayMonthYear, MonthDayYear, YearMonthDay };

struct Regional {
    QString thousandsSeparator;
    QString decimalSeparator;
    QString dateSeparator;
    QString timeSeparator;
    DateOrder dateOrder = DateOrder::DayMonthYear;

    static Regional fromLocale(const QLocale& locale);
    static Regional ptPT(); // "." thousands, "," decimal, day-month-year, "/" and ":"
    static Regional enUS(); // "," thousands, "." decimal, month-day-year, "/" and ":"
};

// The process's settings: from the user's locale until set.
const Regional& regional();
void setRegional(const Regional& r);

} // namespace vb
