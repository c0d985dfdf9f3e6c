#include "platform/values/NumberText.h"

#include <charconv>
#include <cmath>
#include <string>

namespace vb::detail {

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isRadixDigit(QChar c, bool hex)
{
    if (hex)
        return isDigit(c) || (c.toUpper() >= QLatin1Char('A') && c.toUpper() <= QLatin1Char('F'));
    return c >= QLatin1Char('0') && c <= QLatin1Char('7');
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Whether `sep` stands at `pos`; a no-break space separator is also typed as
// a plain space.
bool separatorAt(QStringView text, qsizetype pos, const QString& sep, qsizetype& length)
{
    if (sep.isEmpty())
        return false;
    if (text.mid(pos).startsWith(sep)) {
        length = sep.size();
        return true;
    }
    const bool noBreak = sep.size() == 1 && (sep.at(0) == QChar(0x00A0) || sep.at(0) == QChar(0x202F));
    if (noBreak && pos < text.size() && text.at(pos) == QLatin1Char(' ')) {
        length = 1;
        return true;
    }
    return false;
}

ParsedNumber fromAscii(const std::string& ascii)
{
    ParsedNumber out;
    double value = 0.0;
    const auto res = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        // from_chars reports underflow the same way; a tiny value is zero.
        const size_t e = ascii.find('e');
        out.status =
            (e != std::string::npos && ascii[e + 1] == '-') ? ParsedNumber::Number : ParsedNumber::Overflow;
        out.value = 0.0;
        return out;
    }
    if (res.ec != std::errc() || !std::isfinite(value))
        return out;
    out.status = ParsedNumber::Number;
    out.value = value;
    return out;
}

// &H and &O literals: up to 16 bits read as an Integer, up to 32 as a Long,
// as VB reads them (&HFFFF is -1).
ParsedNumber radixNumber(QStringView digits, bool negative)
{
    ParsedNumber out;
    if (digits.size() < 2 || digits.at(0) != QLatin1Char('&'))
        return out;
    const QChar kind = digits.at(1).toUpper();
    const int base = kind == QLatin1Char('H') ? 16 : kind == QLatin1Char('O') ? 8 : 0;
    if (base == 0 || digits.size() == 2)
        return out;
    bool ok = false;
    const qulonglong raw = digits.mid(2).toULongLong(&ok, base);
    if (!ok || raw > 0xFFFFFFFFull) {
        out.status = ok ? ParsedNumber::Overflow : ParsedNumber::NotNumber;
        return out;
    }
    const double value = raw <= 0xFFFF ? double(qint16(quint16(raw))) : double(qint32(quint32(raw)));
    out.status = ParsedNumber::Number;
    out.value = negative ? -value : value;
    return out;
}

struct Cursor {
    QStringView text;
    qsizetype pos = 0;
    bool atEnd() const { return pos >= text.size(); }
    QChar peek() const { return atEnd() ? QChar() : text.at(pos); }
};

// Appends digits at the cursor to `ascii`; returns how many.
int takeDigits(Cursor& c, std::string& ascii)
{
    int n = 0;
    while (!c.atEnd() && isDigit(c.peek())) {
        ascii.push_back(char(c.peek().unicode()));
        ++c.pos;
        ++n;
    }
    return n;
}

bool takeExponent(Cursor& c, std::string& ascii)
{
    const QChar e = c.peek().toUpper();
    if (e != QLatin1Char('E') && e != QLatin1Char('D'))
        return true;
    ++c.pos;
    ascii.push_back('e');
    if (c.peek() == QLatin1Char('+') || c.peek() == QLatin1Char('-')) {
        ascii.push_back(char(c.peek().unicode()));
        ++c.pos;
    }
    return takeDigits(c, ascii) > 0;
}

} // namespace

ParsedNumber parseNumber(QStringView text, const Regional& r)
{
    Cursor c{text};
    while (!c.atEnd() && isBlank(c.peek()))
        ++c.pos;
    qsizetype end = text.size();
    while (end > c.pos && isBlank(text.at(end - 1)))
        --end;
    c.text = text.first(end);

    std::string ascii;
    bool negative = false;
    if (c.peek() == QLatin1Char('+') || c.peek() == QLatin1Char('-')) {
        negative = c.peek() == QLatin1Char('-');
        ++c.pos;
        while (!c.atEnd() && isBlank(c.peek()))
            ++c.pos;
    }
    if (c.peek() == QLatin1Char('&'))
        return radixNumber(c.text.mid(c.pos), negative);
    if (negative)
        ascii.push_back('-');

    int digits = takeDigits(c, ascii);
    qsizetype sepLength = 0;
    while (digits > 0 && r.thousandsSeparator != r.decimalSeparator &&
           separatorAt(c.text, c.pos, r.thousandsSeparator, sepLength) && c.pos + sepLength < c.text.size() &&
           isDigit(c.text.at(c.pos + sepLength))) {
        c.pos += sepLength;
        digits += takeDigits(c, ascii);
    }
    if (separatorAt(c.text, c.pos, r.decimalSeparator, sepLength)) {
        c.pos += sepLength;
        ascii.push_back('.');
        digits += takeDigits(c, ascii);
    }
    if (digits == 0 || !takeExponent(c, ascii) || !c.atEnd())
        return {};
    return fromAscii(ascii);
}

ParsedNumber parseVal(QStringView text)
{
    QString compact;
    compact.reserve(text.size());
    for (QChar ch : text)
        if (!isBlank(ch) && ch != QLatin1Char('\n') && ch != QLatin1Char('\r'))
            compact += ch;

    Cursor c{compact};
    std::string ascii;
    bool negative = false;
    if (c.peek() == QLatin1Char('+') || c.peek() == QLatin1Char('-')) {
        negative = c.peek() == QLatin1Char('-');
        ++c.pos;
    }
    if (c.peek() == QLatin1Char('&')) {
        const bool hex = c.pos + 1 < compact.size() && compact.at(c.pos + 1).toUpper() == QLatin1Char('H');
        qsizetype end = c.pos + 2;
        while (end < compact.size() && isRadixDigit(compact.at(end), hex))
            ++end;
        ParsedNumber radix = radixNumber(QStringView(compact).mid(c.pos, end - c.pos), negative);
        if (radix.status == ParsedNumber::NotNumber)
            radix = {ParsedNumber::Number, 0.0};
        return radix;
    }
    if (negative)
        ascii.push_back('-');
    int digits = takeDigits(c, ascii);
    if (c.peek() == QLatin1Char('.')) {
        ++c.pos;
        ascii.push_back('.');
        digits += takeDigits(c, ascii);
    }
    if (digits == 0)
        return {ParsedNumber::Number, 0.0};
    const std::string mantissa = ascii;
    if (!takeExponent(c, ascii))
        ascii = mantissa; // "1E" stops before the E, as Val does
    return fromAscii(ascii);
}

} // namespace vb::detail
