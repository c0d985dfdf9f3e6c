#include "platform/values/Format.h"

#include "platform/values/Conversions.h"
#include "platform/values/DateText.h"
#include "platform/values/Decimal.h"
#include "platform/values/FormatMask.h"
#include "platform/values/NumberText.h"
#include "platform/values/Regional.h"
#include "platform/values/VbError.h"

#include <cmath>
#include <optional>

namespace vb {

namespace {

using detail::Decimal;
using detail::Mask;
using detail::MaskSection;
using detail::MaskToken;
using detail::Tok;

// ---- numbers --------------------------------------------------------------

// The value as digits for a number mask; nothing for a text that is no number.
std::optional<Decimal> decimalOf(const Variant& v)
{
    switch (v.type()) {
    case VarType::Empty:
        return Decimal();
    case VarType::Boolean:
        return Decimal::fromDouble(*v.get<bool>() ? -1.0 : 0.0);
    case VarType::Integer:
        return Decimal::fromDouble(*v.get<qint16>());
    case VarType::Long:
        return Decimal::fromDouble(*v.get<qint32>());
    case VarType::Single:
        return Decimal::fromDouble(CDbl(v), Decimal::SingleDigits);
    case VarType::Double:
        return Decimal::fromDouble(CDbl(v));
    case VarType::Currency:
        return Decimal::fromScaled(v.get<Currency>()->scaled, 4);
    case VarType::Date:
        return Decimal::fromDouble(v.get<Date>()->serial);
    case VarType::String: {
        const detail::ParsedNumber n = detail::parseNumber(*v.get<QString>(), regional());
        if (n.status == detail::ParsedNumber::Overflow)
            throw Error::overflow();
        if (n.status != detail::ParsedNumber::Number)
            return std::nullopt;
        return Decimal::fromDouble(n.value);
    }
    default:
        break;
    }
    throw Error::typeMismatch();
}

class NumberWriter {
  public:
    NumberWriter(const MaskSection& s, Decimal d, const Regional& r) : s_(s), r_(r)
    {
        d.setNegative(false);
        d.shift(2 * s.percents - 3 * s.thousandsScale);
        if (s.scientific)
            scale(d);
        d.round(s.fractionPlaceholders, Decimal::Rounding::HalfAwayFromZero);
        if (s.scientific && !d.isZero() && d.point() > wholePlaces()) {
            d.shift(-1); // 9.99 rounded to 10.0
            ++exponent_;
        }
        zero_ = d.isZero();
        whole_ = d.integerDigits();
        fraction_ = d.fractionDigits();
    }

    bool roundedToZero() const { return zero_; }

    QString text()
    {
        for (const MaskToken& t : s_.tokens)
            write(t);
        return out_;
    }

  private:
    int wholePlaces() const { return qMax(1, s_.integerPlaceholders); }

    void scale(Decimal& d)
    {
        if (d.isZero())
            return;
        exponent_ = d.point() - wholePlaces();
        d.shift(-exponent_);
    }

    void digit(char c, int position)
    {
        out_ += QLatin1Char(c);
        if (s_.grouping && position > 0 && position % 3 == 0)
            out_ += r_.thousandsSeparator;
    }

    void wholePlaceholder(Tok kind)
    {
        const int places = s_.integerPlaceholders;
        const int length = int(whole_.size());
        const int position = places - 1 - wholeSeen_++;
        if (position == places - 1) // digits beyond the placeholders go first
            for (int k = 0; k < length - places; ++k)
                digit(whole_[size_t(k)], length - 1 - k);
        if (position < length)
            digit(whole_[size_t(length - 1 - position)], position);
        else if (kind == Tok::Zero)
            digit('0', position);
    }

    void fractionPlaceholder(Tok kind)
    {
        const size_t index = size_t(fractionSeen_++);
        if (index < fraction_.size())
            out_ += QLatin1Char(fraction_[index]);
        else if (kind == Tok::Zero)
            out_ += QLatin1Char('0');
    }

    void exponent(const MaskToken& t)
    {
        out_ += t.text;
        if (exponent_ < 0)
            out_ += QLatin1Char('-');
        else if (t.plus)
            out_ += QLatin1Char('+');
        out_ += QString::number(std::abs(exponent_)).rightJustified(t.digits, QLatin1Char('0'));
    }

    void write(const MaskToken& t)
    {
        switch (t.kind) {
        case Tok::Zero:
        case Tok::Hash:
            if (afterPoint_)
                fractionPlaceholder(t.kind);
            else
                wholePlaceholder(t.kind);
            break;
        case Tok::Point:
            if (s_.integerPlaceholders == 0)
                out_ += QString::fromLatin1(whole_.data(), qsizetype(whole_.size()));
            out_ += r_.decimalSeparator;
            afterPoint_ = true;
            break;
        case Tok::Percent:
            out_ += QLatin1Char('%');
            break;
        case Tok::Exponent:
            exponent(t);
            break;
        default:
            out_ += t.text;
            break;
        }
    }

    const MaskSection& s_;
    const Regional& r_;
    std::string whole_, fraction_;
    int exponent_ = 0;
    bool zero_ = true;
    int wholeSeen_ = 0;
    int fractionSeen_ = 0;
    bool afterPoint_ = false;
    QString out_;
};

const MaskSection* usable(const Mask& m, size_t index)
{
    return index < m.sections.size() && !m.sections[index].empty ? &m.sections[index] : nullptr;
}

// Positive; negative; zero: a missing or empty section falls back to the
// first, and a negative value shown through the first gets a minus sign
// unless it rounds to nothing.
QString formatNumber(const Mask& m, const Decimal& d, const Regional& r)
{
    if (d.isNegative()) {
        if (const MaskSection* negative = usable(m, 1))
            return NumberWriter(*negative, d, r).text();
        NumberWriter w(m.sections[0], d, r);
        const QString text = w.text();
        return w.roundedToZero() ? text : QLatin1Char('-') + text;
    }
    const MaskSection* zero = d.isZero() ? usable(m, 2) : nullptr;
    return NumberWriter(zero ? *zero : m.sections[0], d, r).text();
}

// ---- dates ----------------------------------------------------------------

// A date mask reads a text as a date first, then as a serial number; other
// texts are shown as they are.
std::optional<double> serialOf(const Variant& v)
{
    if (const Date* d = v.get<Date>())
        return d->serial;
    if (const QString* s = v.get<QString>()) {
        if (auto serial = detail::parseDate(*s, regional()))
            return serial;
        const detail::ParsedNumber n = detail::parseNumber(*s, regional());
        if (n.status == detail::ParsedNumber::Number)
            return n.value;
        return std::nullopt;
    }
    return CDbl(v);
}

QString twoDigits(int n)
{
    return QString::number(n).rightJustified(2, QLatin1Char('0'));
}

int qtWeekday(int vbWeekday)
{
    return vbWeekday == 1 ? 7 : vbWeekday - 1;
}

int weekOfYear(const detail::DateParts& p)
{
    const int jan1 = ((p.weekday - 1 - (p.dayOfYear - 1)) % 7 + 7) % 7; // 0 = Sunday
    return (p.dayOfYear - 1 + jan1) / 7 + 1;
}

QString meridiem(const detail::DateParts& p, const MaskToken& t, const Regional& r)
{
    const bool am = p.hour < 12;
    QString text;
    switch (t.kind) {
    case Tok::AmPm:
        text = am ? QStringLiteral("AM") : QStringLiteral("PM");
        break;
    case Tok::AP:
        text = am ? QStringLiteral("A") : QStringLiteral("P");
        break;
    default:
        return am ? r.amText : r.pmText;
    }
    return t.lower ? text.toLower() : text;
}

QString dateField(const MaskToken& t, const detail::DateParts& p, double serial, bool twelveHour,
                  const Regional& r)
{
    const int hour = twelveHour ? (p.hour % 12 == 0 ? 12 : p.hour % 12) : p.hour;
    const QLocale& l = r.locale;
    switch (t.kind) {
    case Tok::DateSep:
        return r.dateSeparator;
    case Tok::TimeSep:
        return r.timeSeparator;
    case Tok::Day:
        return QString::number(p.day);
    case Tok::Day2:
        return twoDigits(p.day);
    case Tok::DayAbbr:
        return l.dayName(qtWeekday(p.weekday), QLocale::ShortFormat);
    case Tok::DayName:
        return l.dayName(qtWeekday(p.weekday), QLocale::LongFormat);
    case Tok::ShortDate:
        return detail::shortDateText(p, r);
    case Tok::LongDate:
        return l.toString(QDate(p.year, p.month, p.day), QLocale::LongFormat);
    case Tok::Weekday:
        return QString::number(p.weekday);
    case Tok::Week:
        return QString::number(weekOfYear(p));
    case Tok::Month:
        return QString::number(p.month);
    case Tok::Month2:
        return twoDigits(p.month);
    case Tok::MonthAbbr:
        return l.monthName(p.month, QLocale::ShortFormat);
    case Tok::MonthName:
        return l.monthName(p.month, QLocale::LongFormat);
    case Tok::Quarter:
        return QString::number((p.month - 1) / 3 + 1);
    case Tok::DayOfYear:
        return QString::number(p.dayOfYear);
    case Tok::Year2:
        return twoDigits(p.year % 100);
    case Tok::Year4:
        return QString::number(p.year);
    case Tok::Hour:
        return QString::number(hour);
    case Tok::Hour2:
        return twoDigits(hour);
    case Tok::Minute:
        return QString::number(p.minute);
    case Tok::Minute2:
        return twoDigits(p.minute);
    case Tok::Second:
        return QString::number(p.second);
    case Tok::Second2:
        return twoDigits(p.second);
    case Tok::AmPm:
    case Tok::AP:
    case Tok::LocaleAmPm:
        return meridiem(p, t, r);
    case Tok::LongTime:
        return detail::longTimeText(p, r);
    case Tok::GeneralDate:
        return detail::generalDateText(serial, r);
    default:
        return t.text;
    }
}

QString formatDate(const MaskSection& s, double serial, const Regional& r)
{
    if (!detail::serialInRange(serial))
        throw Error::overflow();
    const detail::DateParts p = detail::partsOf(serial);
    QString out;
    for (const MaskToken& t : s.tokens)
        out += dateField(t, p, serial, s.twelveHour, r);
    return out;
}

// ---- named formats -------------------------------------------------------

// VB's named formats that are another mask in disguise.
QString aliasOf(const QString& mask)
{
    static const std::pair<QLatin1String, QLatin1String> aliases[] = {
        {QLatin1String("Fixed"), QLatin1String("0.00")},
        {QLatin1String("Standard"), QLatin1String("#,##0.00")},
        {QLatin1String("Percent"), QLatin1String("0.00%")},
        {QLatin1String("Scientific"), QLatin1String("0.00E+00")},
        {QLatin1String("Long Date"), QLatin1String("dddddd")},
        {QLatin1String("Medium Date"), QLatin1String("dd-mmm-yy")},
        {QLatin1String("Short Date"), QLatin1String("ddddd")},
        {QLatin1String("Long Time"), QLatin1String("ttttt")},
        {QLatin1String("Medium Time"), QLatin1String("hh:nn AMPM")},
        {QLatin1String("Short Time"), QLatin1String("hh:nn")},
        {QLatin1String("General Date"), QLatin1String("c")},
    };
    for (const auto& [name, alias] : aliases)
        if (mask.compare(name, Qt::CaseInsensitive) == 0)
            return alias;
    return mask;
}

// "General Number", "Yes/No", "True/False" and "On/Off"; false when `mask`
// is none of them. A text that is no number is shown as it is.
bool namedNumber(const Variant& value, const QString& mask, QString& out)
{
    static const QLatin1String pairs[][3] = {
        {QLatin1String("Yes/No"), QLatin1String("Yes"), QLatin1String("No")},
        {QLatin1String("True/False"), QLatin1String("True"), QLatin1String("False")},
        {QLatin1String("On/Off"), QLatin1String("On"), QLatin1String("Off")},
    };
    const bool general = mask.compare(QLatin1String("General Number"), Qt::CaseInsensitive) == 0;
    const QLatin1String* pair = nullptr;
    for (const auto& candidate : pairs)
        if (mask.compare(candidate[0], Qt::CaseInsensitive) == 0)
            pair = candidate;
    if (!general && !pair)
        return false;
    const std::optional<Decimal> d = decimalOf(value);
    if (!d)
        out = CStr(value);
    else if (general)
        out = d->generalText(regional().decimalSeparator, 0);
    else
        out = d->isZero() ? QString(pair[2]) : QString(pair[1]);
    return true;
}

} // namespace

QString Format(const Variant& value, const QString& mask)
{
    if (mask.isEmpty())
        return value.isNull() ? QString() : CStr(value);
    if (value.isMissing() || value.isObject())
        throw Error::typeMismatch();
    QString named;
    if (!value.isNull() && namedNumber(value, mask, named))
        return named;

    const std::shared_ptr<const Mask> m = detail::parsedMask(aliasOf(mask));
    const Regional& r = regional();
    if (value.isNull()) {
        if (m->sections.size() < 4)
            return {};
        return m->kind == Mask::Date ? formatDate(m->sections[3], 0.0, r)
                                     : NumberWriter(m->sections[3], Decimal(), r).text();
    }
    if (m->kind == Mask::Date) {
        const std::optional<double> serial = serialOf(value);
        return serial ? formatDate(m->sections[0], *serial, r) : CStr(value);
    }
    const std::optional<Decimal> d = decimalOf(value);
    return d ? formatNumber(*m, *d, r) : CStr(value);
}

} // namespace vb
