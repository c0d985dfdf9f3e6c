#include "platform/values/DateText.h"

#include <cmath>
#include <vector>

namespace vb::detail {

namespace {

constexpr int SecondsPerDay = 86400;

bool isLeap(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : days[m - 1];
}

// Days from 1970-01-01 of a proleptic Gregorian date, and back (after Howard
// Hinnant's civil calendar algorithms).
qint64 daysFromCivil(qint64 y, int m, int d)
{
    y -= m <= 2;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const qint64 yoe = y - era * 400;
    const qint64 doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const qint64 doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(qint64 z, int& y, int& m, int& d)
{
    z += 719468;
    const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
    const qint64 doe = z - era * 146097;
    const qint64 yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const qint64 doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const qint64 mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(yoe + era * 400 + (m <= 2));
}

const qint64 SerialEpoch = daysFromCivil(1899, 12, 30);

// One piece of a date or time text.
struct Token {
    enum Kind { Number, Separator, Space, Word } kind = Space;
    int value = 0;         // Number
    int length = 0;        // Number: digits typed
    QChar sep = {};        // Separator
    QStringView word = {}; // Word
};

std::vector<Token> tokenize(QStringView text)
{
    std::vector<Token> out;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        qsizetype j = i + 1;
        if (c.isDigit() && c.unicode() < 128) {
            Token t{Token::Number};
            while (j < text.size() && text.at(j).isDigit() && text.at(j).unicode() < 128)
                ++j;
            t.length = int(j - i);
            t.value = t.length > 6 ? -1 : text.mid(i, j - i).toInt();
            out.push_back(t);
        } else if (c == QLatin1Char(' ')) {
            while (j < text.size() && text.at(j) == QLatin1Char(' '))
                ++j;
            out.push_back(Token{Token::Space});
        } else if (c.isLetter()) {
            while (j < text.size() && text.at(j).isLetter())
                ++j;
            Token t{Token::Word};
            t.word = text.mid(i, j - i);
            out.push_back(t);
        } else {
            Token t{Token::Separator};
            t.sep = c;
            out.push_back(t);
        }
        i = j;
    }
    return out;
}

bool isSingleChar(const QString& s, QChar c)
{
    return s.size() == 1 && s.at(0) == c;
}

bool isDateSeparator(QChar c, const Regional& r)
{
    return c == QLatin1Char('-') || c == QLatin1Char('/') || c == QLatin1Char('.') ||
           isSingleChar(r.dateSeparator, c);
}

bool isTimeSeparator(QChar c, const Regional& r)
{
    return c == QLatin1Char(':') || isSingleChar(r.timeSeparator, c);
}

class Reader {
  public:
    Reader(const std::vector<Token>& tokens, const Regional& r) : t_(tokens), r_(r) {}

    bool atEnd() const { return i_ >= t_.size(); }
    void skipSpaces()
    {
        while (!atEnd() && t_[i_].kind == Token::Space)
            ++i_;
    }

    // Number, separator, number, separator, number.
    std::optional<qint64> date()
    {
        const size_t start = i_;
        int field[3];
        int length[3];
        for (int k = 0; k < 3; ++k) {
            if (k > 0 && !(sepIs(&isDateSeparator)))
                return rewind(start);
            if (atEnd() || t_[i_].kind != Token::Number)
                return rewind(start);
            field[k] = t_[i_].value;
            length[k] = t_[i_].length;
            ++i_;
        }
        return dayOf(field, length, start);
    }

    // Hours, minutes and optional seconds, or an hour alone, with AM/PM.
    std::optional<int> time()
    {
        const size_t start = i_;
        int field[3] = {0, 0, 0};
        int count = 0;
        for (;;) {
            if (atEnd() || t_[i_].kind != Token::Number || t_[i_].length > 2)
                return failAt(start); // nothing, or a separator with no number after it
            field[count++] = t_[i_].value;
            ++i_;
            if (count == 3 || !sepIs(&isTimeSeparator))
                break;
        }
        const size_t beforeSuffix = i_;
        skipSpaces();
        const int half = meridiem();
        if (half < 0)
            i_ = beforeSuffix;
        if (count == 1 && half < 0)
            return failAt(start);
        int hour = field[0];
        if (half >= 0) {
            if (hour > 12)
                return failAt(start);
            hour = hour % 12 + half * 12;
        }
        if (hour > 23 || field[1] > 59 || field[2] > 59)
            return failAt(start);
        return hour * 3600 + field[1] * 60 + field[2];
    }

  private:
    bool sepIs(bool (*accept)(QChar, const Regional&))
    {
        if (atEnd() || t_[i_].kind != Token::Separator || !accept(t_[i_].sep, r_))
            return false;
        ++i_;
        return true;
    }

    // 0 for AM, 1 for PM, -1 when the next word is neither.
    int meridiem()
    {
        if (atEnd() || t_[i_].kind != Token::Word)
            return -1;
        const QStringView w = t_[i_].word;
        const auto is = [&](const QString& s) {
            return !s.isEmpty() && w.compare(s, Qt::CaseInsensitive) == 0;
        };
        int half = -1;
        if (is(QStringLiteral("AM")) || is(QStringLiteral("A")) || is(r_.amText))
            half = 0;
        else if (is(QStringLiteral("PM")) || is(QStringLiteral("P")) || is(r_.pmText))
            half = 1;
        if (half >= 0)
            ++i_;
        return half;
    }

    std::optional<qint64> rewind(size_t start)
    {
        i_ = start;
        return std::nullopt;
    }
    std::optional<int> failAt(size_t start)
    {
        i_ = start;
        return std::nullopt;
    }

    std::optional<qint64> dayOf(const int* field, const int* length, size_t start)
    {
        int y = 0, m = 0, d = 0, yLength = 0;
        DateOrder order = r_.dateOrder;
        if (length[0] >= 3)
            order = DateOrder::YearMonthDay;
        else if (order == DateOrder::YearMonthDay && length[2] >= 3)
            order = DateOrder::DayMonthYear;
        switch (order) {
        case DateOrder::DayMonthYear:
            d = field[0], m = field[1], y = field[2], yLength = length[2];
            break;
        case DateOrder::MonthDayYear:
            m = field[0], d = field[1], y = field[2], yLength = length[2];
            break;
        case DateOrder::YearMonthDay:
            y = field[0], m = field[1], d = field[2], yLength = length[0];
            break;
        }
        const bool dayMonthShort = (order == DateOrder::YearMonthDay ? length[1] <= 2 && length[2] <= 2
                                                                     : length[0] <= 2 && length[1] <= 2);
        if (yLength <= 2)
            y += y < 30 ? 2000 : 1900; // Windows' two-digit year window
        if (!dayMonthShort || yLength > 4 || !isValidDate(y, m, d))
            return rewind(start);
        return dayNumber(y, m, d);
    }

    const std::vector<Token>& t_;
    const Regional& r_;
    size_t i_ = 0;
};

} // namespace

bool serialInRange(double serial)
{
    return std::isfinite(serial) && serial > MinDateSerial - 1.0 && serial < MaxDateSerial + 1.0;
}

bool isValidDate(int year, int month, int day)
{
    return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= daysInMonth(year, month);
}

qint64 dayNumber(int year, int month, int day)
{
    return daysFromCivil(year, month, day) - SerialEpoch;
}

double serialOf(qint64 days, int secondsOfDay)
{
    const double fraction = double(secondsOfDay) / SecondsPerDay;
    return days < 0 ? double(days) - fraction : double(days) + fraction;
}

DateParts partsOf(double serial)
{
    double whole = std::trunc(serial);
    qint64 days = qint64(whole);
    qint64 seconds = std::llround(std::fabs(serial - whole) * SecondsPerDay);
    if (seconds >= SecondsPerDay) { // rounds up to the next midnight
        seconds -= SecondsPerDay;
        ++days;
    }
    DateParts p;
    civilFromDays(days + SerialEpoch, p.year, p.month, p.day);
    p.hour = int(seconds / 3600);
    p.minute = int(seconds / 60 % 60);
    p.second = int(seconds % 60);
    // 1899-12-30 was a Saturday (7).
    p.weekday = int(((days - 1) % 7 + 7) % 7) + 1;
    p.dayOfYear = int(days - dayNumber(p.year, 1, 1)) + 1;
    return p;
}

namespace {

QString twoDigits(int n)
{
    return QString::number(n).rightJustified(2, QLatin1Char('0'));
}

} // namespace

QString shortDateText(const DateParts& p, const Regional& r)
{
    const QString d = r.dayMonthLeadingZero ? twoDigits(p.day) : QString::number(p.day);
    const QString m = r.dayMonthLeadingZero ? twoDigits(p.month) : QString::number(p.month);
    const QString y = QString::number(p.year);
    const QString& sep = r.dateSeparator;
    switch (r.dateOrder) {
    case DateOrder::MonthDayYear:
        return m + sep + d + sep + y;
    case DateOrder::YearMonthDay:
        return y + sep + m + sep + d;
    case DateOrder::DayMonthYear:
        break;
    }
    return d + sep + m + sep + y;
}

QString longTimeText(const DateParts& p, const Regional& r)
{
    const QString tail = r.timeSeparator + twoDigits(p.minute) + r.timeSeparator + twoDigits(p.second);
    if (!r.twelveHourClock)
        return twoDigits(p.hour) + tail;
    const int hour = p.hour % 12 == 0 ? 12 : p.hour % 12;
    return QString::number(hour) + tail + QLatin1Char(' ') + (p.hour < 12 ? r.amText : r.pmText);
}

QString generalDateText(double serial, const Regional& r)
{
    const DateParts p = partsOf(serial);
    const bool midnight = p.hour == 0 && p.minute == 0 && p.second == 0;
    const bool dayZero = p.year == 1899 && p.month == 12 && p.day == 30;
    if (dayZero)
        return longTimeText(p, r);
    if (midnight)
        return shortDateText(p, r);
    return shortDateText(p, r) + QLatin1Char(' ') + longTimeText(p, r);
}

std::optional<double> parseDate(QStringView text, const Regional& r)
{
    const std::vector<Token> tokens = tokenize(text);
    Reader reader(tokens, r);
    reader.skipSpaces();
    const std::optional<qint64> day = reader.date();
    std::optional<int> time;
    if (day) {
        reader.skipSpaces();
        if (!reader.atEnd()) {
            time = reader.time();
            if (!time)
                return std::nullopt;
        }
    } else {
        time = reader.time();
        if (!time)
            return std::nullopt;
    }
    reader.skipSpaces();
    if (!reader.atEnd())
        return std::nullopt;
    return serialOf(day.value_or(0), time.value_or(0));
}

} // namespace vb::detail
