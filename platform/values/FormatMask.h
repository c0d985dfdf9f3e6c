#pragma once
// A Format mask read once into its sections and tokens. Masks are parsed on
// first use and kept per thread, since lists format every cell of 100 000
// rows with the same few masks.
#include <QString>
#include <memory>
#include <vector>

namespace vb::detail {

enum class Tok : quint8 {
    Literal,
    // numbers
    Zero,
    Hash,
    Point,
    Percent,
    Exponent,
    Comma, // only while parsing: becomes grouping, scaling or a literal
    // dates
    DateSep,
    TimeSep,
    Day,
    Day2,
    DayAbbr,
    DayName,
    ShortDate,
    LongDate,
    Weekday,
    Week,
    Month,
    Month2,
    MonthAbbr,
    MonthName,
    Quarter,
    DayOfYear,
    Year2,
    Year4,
    Hour,
    Hour2,
    Minute,
    Minute2,
    Second,
    Second2,
    AmPm,
    AP,
    LocaleAmPm,
    LongTime,
    GeneralDate,
};

struct MaskToken {
    Tok kind = Tok::Literal;
    QString text = {};  // Literal: the text; Exponent: "E" or "e"
    bool lower = false; // AmPm, AP: written in lower case
    bool plus = false;  // Exponent: "E+" shows the sign always
    int digits = 0;     // Exponent: at least this many digits
};

struct MaskSection {
    std::vector<MaskToken> tokens;
    bool empty = true; // nothing between the semicolons
    // Numbers
    int integerPlaceholders = 0;
    int fractionPlaceholders = 0;
    bool grouping = false;
    int thousandsScale = 0; // commas before the point: ÷1000 each
    int percents = 0;       // each "%" multiplies by 100
    bool scientific = false;
    // Dates
    bool twelveHour = false; // an AM/PM token switches h to 1-12
};

struct Mask {
    enum Kind { Number, Date } kind = Number;
    std::vector<MaskSection> sections; // 1 to 4: positive; negative; zero; null
};

// The parsed mask; the same object for the same text on this thread.
std::shared_ptr<const Mask> parsedMask(const QString& text);
Mask parseMask(const QString& text);

} // namespace vb::detail
