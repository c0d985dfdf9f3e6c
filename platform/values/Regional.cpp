#include "platform/values/Regional.h"

namespace vb {

namespace {

// The first character of `format` that is neither a letter nor a quote,
// after the first of `fields`: the separator the locale writes there.
QString separatorAfter(const QString& format, const QString& fields, const QString& fallback)
{
    int i = 0;
    while (i < format.size() && !fields.contains(format.at(i)))
        ++i;
    while (i < format.size() && fields.contains(format.at(i)))
        ++i;
    if (i >= format.size())
        return fallback;
    const QChar c = format.at(i);
    if (c.isLetterOrNumber() || c.isSpace() || c == QLatin1Char('\''))
        return fallback;
    return QString(c);
}

DateOrder orderOf(const QString& shortDate)
{
    const qsizetype d = shortDate.indexOf(QLatin1Char('d'));
    const qsizetype m = shortDate.indexOf(QLatin1Char('M'));
    const qsizetype y = shortDate.indexOf(QLatin1Char('y'));
    if (y >= 0 && (d < 0 || y < d) && (m < 0 || y < m))
        return DateOrder::YearMonthDay;
    if (m >= 0 && d >= 0 && m < d)
        return DateOrder::MonthDayYear;
    return DateOrder::DayMonthYear;
}

Regional& current()
{
    static Regional settings = Regional::fromLocale(QLocale::system());
    return settings;
}

} // namespace

Regional Regional::fromLocale(const QLocale& locale)
{
    Regional r;
    r.locale = locale;
    r.thousandsSeparator = locale.groupSeparator();
    r.decimalSeparator = locale.decimalPoint();
    const QString shortDate = locale.dateFormat(QLocale::ShortFormat);
    const QString time = locale.timeFormat(QLocale::LongFormat);
    r.dateSeparator = separatorAfter(shortDate, QStringLiteral("dMy"), QStringLiteral("/"));
    r.timeSeparator = separatorAfter(time, QStringLiteral("hH"), QStringLiteral(":"));
    r.dateOrder = orderOf(shortDate);
    r.dayMonthLeadingZero =
        shortDate.contains(QLatin1String("dd")) || shortDate.contains(QLatin1String("MM"));
    r.twelveHourClock = time.contains(QLatin1Char('a'), Qt::CaseInsensitive);
    if (!locale.amText().isEmpty())
        r.amText = locale.amText();
    if (!locale.pmText().isEmpty())
        r.pmText = locale.pmText();
    return r;
}

Regional Regional::ptPT()
{
    Regional r;
    r.thousandsSeparator = QStringLiteral(".");
    r.decimalSeparator = QStringLiteral(",");
    r.dateSeparator = QStringLiteral("/");
    r.timeSeparator = QStringLiteral(":");
    r.dateOrder = DateOrder::DayMonthYear;
    r.dayMonthLeadingZero = true;
    r.twelveHourClock = false;
    r.locale = QLocale(QLocale::Portuguese, QLocale::Portugal);
    return r;
}

Regional Regional::enUS()
{
    Regional r;
    r.thousandsSeparator = QStringLiteral(",");
    r.decimalSeparator = QStringLiteral(".");
    r.dateSeparator = QStringLiteral("/");
    r.timeSeparator = QStringLiteral(":");
    r.dateOrder = DateOrder::MonthDayYear;
    r.dayMonthLeadingZero = false;
    r.twelveHourClock = true;
    r.amText = QStringLiteral("AM");
    r.pmText = QStringLiteral("PM");
    r.locale = QLocale(QLocale::English, QLocale::UnitedStates);
    return r;
}

const Regional& regional()
{
    return current();
}

void setRegional(const Regional& r)
{
    current() = r;
}

} // namespace vb
