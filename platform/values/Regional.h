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

    // How the short date and the long time are written by CStr and Format's
    // general date: two-digit day and month or not, 24-hour clock or 12-hour
    // with the AM/PM texts. The locale supplies month and weekday names.
    bool dayMonthLeadingZero = true;
    bool twelveHourClock = false;
    QString amText = QStringLiteral("AM");
    QString pmText = QStringLiteral("PM");
    QLocale locale = QLocale::c();

    static Regional fromLocale(const QLocale& locale);
    static Regional ptPT(); // "." thousands, "," decimal, day-month-year, "/" and ":"
    static Regional enUS(); // "," thousands, "." decimal, month-day-year, "/" and ":"
};

// The process's settings: from the user's locale until set. Set them before
// other threads read them; the settings are read, not locked, on every call.
const Regional& regional();
void setRegional(const Regional& r);

} // namespace vb
