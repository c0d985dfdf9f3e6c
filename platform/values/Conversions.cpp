#include "platform/values/Conversions.h"

#include "platform/values/DateText.h"
#include "platform/values/Decimal.h"
#include "platform/values/NumberText.h"
#include "platform/values/Regional.h"
#include "platform/values/VbError.h"

#include <cfloat>
#include <cmath>

namespace vb {

namespace {

using detail::Decimal;
using detail::ParsedNumber;

double finite(double d)
{
    if (!std::isfinite(d))
        throw Error::overflow();
    return d;
}

double numberFromText(const QString& s)
{
    const ParsedNumber n = detail::parseNumber(s, regional());
    if (n.status == ParsedNumber::Overflow)
        throw Error::overflow();
    if (n.status != ParsedNumber::Number)
        throw Error::typeMismatch();
    return n.value;
}

// VB's coercion of a Variant to a number: Empty is 0, True is -1, a Date its
// serial, a text read under the regional settings.
double numberOf(const Variant& v)
{
    switch (v.type()) {
    case VarType::Empty:
        return 0.0;
    case VarType::Null:
        throw Error::invalidUseOfNull();
    case VarType::Boolean:
        return *v.get<bool>() ? -1.0 : 0.0;
    case VarType::Integer:
        return *v.get<qint16>();
    case VarType::Long:
        return *v.get<qint32>();
    case VarType::Single:
        return finite(*v.get<float>());
    case VarType::Double:
        return finite(*v.get<double>());
    case VarType::Currency:
        return v.get<Currency>()->toDouble();
    case VarType::Date:
        return v.get<Date>()->serial;
    case VarType::String:
        return numberFromText(*v.get<QString>());
    case VarType::Object:
    case VarType::Error:
        break;
    }
    throw Error::typeMismatch();
}

double roundHalfEven(double d)
{
    const double whole = std::floor(d);
    const double diff = d - whole;
    if (diff > 0.5)
        return whole + 1.0;
    if (diff < 0.5)
        return whole;
    return std::fmod(whole, 2.0) == 0.0 ? whole : whole + 1.0;
}

double roundedInRange(const Variant& v, double low, double high)
{
    const double r = roundHalfEven(numberOf(v));
    if (!(r >= low && r <= high))
        throw Error::overflow();
    return r;
}

Date dateFromSerial(double serial)
{
    if (!detail::serialInRange(serial))
        throw Error::overflow();
    return Date{serial};
}

int sign(int c)
{
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

bool textEquals(const QString& a, const QString& b, Compare mode)
{
    return mode == Compare::Text ? a.compare(b, Qt::CaseInsensitive) == 0 : a == b;
}

bool sameNumber(const Variant& a, const Variant& b)
{
    const Currency* ca = a.get<Currency>();
    const Currency* cb = b.get<Currency>();
    if (ca && cb)
        return *ca == *cb;
    return numberOf(a) == numberOf(b);
}

// A text against a number, a Boolean or a date: equal when the text reads as
// that value; a text that is no number (or date) equals none.
bool textEqualsValue(const QString& text, const Variant& value)
{
    if (value.isDate()) {
        const auto serial = detail::parseDate(text, regional());
        return serial && *serial == value.get<Date>()->serial;
    }
    const ParsedNumber n = detail::parseNumber(text, regional());
    if (n.status == ParsedNumber::Number)
        return n.value == numberOf(value);
    if (value.isBoolean())
        return textEquals(text.trimmed(), CStr(value), Compare::Text);
    return false;
}

} // namespace

QString CStr(const Variant& v)
{
    const Regional& r = regional();
    switch (v.type()) {
    case VarType::Empty:
        return {};
    case VarType::Null:
        throw Error::invalidUseOfNull();
    case VarType::Boolean:
        return *v.get<bool>() ? QStringLiteral("True") : QStringLiteral("False");
    case VarType::Integer:
        return QString::number(*v.get<qint16>());
    case VarType::Long:
        return QString::number(*v.get<qint32>());
    case VarType::Single:
        return Decimal::fromDouble(finite(*v.get<float>()), Decimal::SingleDigits)
            .generalText(r.decimalSeparator, Decimal::SingleDigits);
    case VarType::Double:
        return Decimal::fromDouble(finite(*v.get<double>()))
            .generalText(r.decimalSeparator, Decimal::DoubleDigits);
    case VarType::Currency:
        return Decimal::fromScaled(v.get<Currency>()->scaled, 4).generalText(r.decimalSeparator, 0);
    case VarType::Date:
        return detail::generalDateText(dateFromSerial(v.get<Date>()->serial).serial, r);
    case VarType::String:
        return *v.get<QString>();
    case VarType::Object:
    case VarType::Error:
        break;
    }
    throw Error::typeMismatch();
}

qint16 CInt(const Variant& v)
{
    return qint16(roundedInRange(v, -32768.0, 32767.0));
}

qint32 CLng(const Variant& v)
{
    return qint32(roundedInRange(v, -2147483648.0, 2147483647.0));
}

float CSng(const Variant& v)
{
    const double d = numberOf(v);
    if (std::fabs(d) > double(FLT_MAX))
        throw Error::overflow();
    return float(d);
}

double CDbl(const Variant& v)
{
    return numberOf(v);
}

bool CBool(const Variant& v)
{
    if (const bool* b = v.get<bool>())
        return *b;
    if (const QString* s = v.get<QString>()) {
        const QString t = Trim(*s);
        if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
    }
    return numberOf(v) != 0.0;
}

Variant CDate(const Variant& v)
{
    if (v.isDate())
        return Variant(dateFromSerial(v.get<Date>()->serial));
    if (const QString* s = v.get<QString>()) {
        const auto serial = detail::parseDate(*s, regional());
        if (!serial)
            throw Error::typeMismatch();
        return Variant(dateFromSerial(*serial));
    }
    return Variant(dateFromSerial(numberOf(v)));
}

Currency CCur(const Variant& v)
{
    if (const Currency* c = v.get<Currency>())
        return *c;
    return Currency::fromDouble(numberOf(v));
}

double Val(const QString& s)
{
    const ParsedNumber n = detail::parseVal(s);
    if (n.status == ParsedNumber::Overflow)
        throw Error::overflow();
    return n.value;
}

bool IsNumeric(const Variant& v)
{
    if (v.isEmpty() || v.isNumber())
        return true;
    if (const QString* s = v.get<QString>())
        return detail::parseNumber(*s, regional()).status == ParsedNumber::Number;
    return false;
}

bool IsDate(const Variant& v)
{
    if (const Date* d = v.get<Date>())
        return detail::serialInRange(d->serial);
    if (const QString* s = v.get<QString>()) {
        const auto serial = detail::parseDate(*s, regional());
        return serial && detail::serialInRange(*serial);
    }
    return false;
}

QString LTrim(const QString& s)
{
    qsizetype i = 0;
    while (i < s.size() && s.at(i) == QLatin1Char(' '))
        ++i;
    return s.mid(i);
}

QString RTrim(const QString& s)
{
    qsizetype n = s.size();
    while (n > 0 && s.at(n - 1) == QLatin1Char(' '))
        --n;
    return s.left(n);
}

QString Trim(const QString& s)
{
    return LTrim(RTrim(s));
}

int StrComp(const QString& a, const QString& b, Compare mode)
{
    if (mode == Compare::Binary)
        return sign(a.compare(b));
    if (a.compare(b, Qt::CaseInsensitive) == 0)
        return 0;
    // Text order follows the user's collation (accents sort by their letter);
    // strings it cannot tell apart still differ.
    const QString fa = a.toCaseFolded();
    const QString fb = b.toCaseFolded();
    const int byLocale = QString::localeAwareCompare(fa, fb);
    return byLocale != 0 ? sign(byLocale) : sign(fa.compare(fb));
}

bool Equals(const Variant& a, const Variant& b, Compare mode)
{
    if (a.isMissing() || b.isMissing())
        return a.isMissing() && b.isMissing();
    if (a.isNull() || b.isNull())
        return false;
    if (a.isObject() || b.isObject()) {
        if (!a.isObject() || !b.isObject())
            throw Error::typeMismatch();
        return a.object() == b.object();
    }
    if (a.isEmpty() && b.isEmpty())
        return true;
    if (a.isString() && b.isString())
        return textEquals(*a.get<QString>(), *b.get<QString>(), mode);
    if (a.isEmpty() || b.isEmpty()) {
        const Variant& other = a.isEmpty() ? b : a;
        if (const QString* s = other.get<QString>())
            return s->isEmpty();
        return numberOf(other) == 0.0;
    }
    if (const QString* s = a.get<QString>())
        return textEqualsValue(*s, b);
    if (const QString* s = b.get<QString>())
        return textEqualsValue(*s, a);
    return sameNumber(a, b);
}

double DateSerial(const QDate& d)
{
    return d.isValid() ? double(detail::dayNumber(d.year(), d.month(), d.day())) : 0.0;
}

double TimeSerial(const QTime& t)
{
    return t.isValid() ? t.msecsSinceStartOfDay() / 86400000.0 : 0.0;
}

double ToSerial(const QDateTime& dt)
{
    const double days = DateSerial(dt.date());
    const double time = TimeSerial(dt.time());
    return days < 0 ? days - time : days + time;
}

QDate SerialDate(double serial)
{
    if (!detail::serialInRange(serial))
        return {};
    const detail::DateParts p = detail::partsOf(serial);
    return QDate(p.year, p.month, p.day);
}

QTime SerialTime(double serial)
{
    if (!detail::serialInRange(serial))
        return {};
    const detail::DateParts p = detail::partsOf(serial);
    return QTime(p.hour, p.minute, p.second);
}

QDateTime FromSerial(double serial)
{
    if (!detail::serialInRange(serial))
        return {};
    const detail::DateParts p = detail::partsOf(serial);
    return QDateTime(QDate(p.year, p.month, p.day), QTime(p.hour, p.minute, p.second));
}

QDateTime FromSerialToMillisecond(double serial)
{
    if (!detail::serialInRange(serial))
        return {};
    constexpr double millisecondsADay = 86400000.0;
    // Before 1899-12-30 the day counts down and the time still counts up.
    const double day = serial < 0 ? std::ceil(serial) : std::floor(serial);
    const qint64 sinceMidnight =
        qMin(qRound64(std::fabs(serial - day) * millisecondsADay), qint64(millisecondsADay) - 1);
    return QDateTime(SerialDate(day), QTime::fromMSecsSinceStartOfDay(int(sinceMidnight)));
}

} // namespace vb
