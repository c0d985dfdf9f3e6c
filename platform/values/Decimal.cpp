#include "platform/values/Decimal.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vb::detail {

Decimal Decimal::fromDouble(double value, int significant)
{
    Decimal d;
    if (value == 0.0 || !std::isfinite(value))
        return d;
    d.negative_ = value < 0;
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific,
                                   qMax(significant, 1) - 1);
    const std::string_view text(buf, size_t(res.ptr - buf));
    const size_t e = text.find('e');
    for (char c : text.substr(0, e))
        if (c != '.')
            d.digits_.push_back(c);
    int exponent = 0;
    const std::string_view exp = text.substr(e + 1);
    std::from_chars(exp.data() + (exp.front() == '+' ? 1 : 0), exp.data() + exp.size(), exponent);
    d.point_ = exponent + 1;
    d.trim();
    return d;
}

Decimal Decimal::fromScaled(qint64 scaled, int scale)
{
    Decimal d;
    d.negative_ = scaled < 0;
    // Through the unsigned magnitude, so the most negative value has one too.
    const quint64 magnitude = d.negative_ ? 0 - quint64(scaled) : quint64(scaled);
    d.digits_ = std::to_string(magnitude);
    d.point_ = int(d.digits_.size()) - scale;
    d.trim();
    return d;
}

void Decimal::trim()
{
    size_t lead = 0;
    while (lead < digits_.size() && digits_[lead] == '0')
        ++lead;
    digits_.erase(0, lead);
    point_ -= int(lead);
    while (!digits_.empty() && digits_.back() == '0')
        digits_.pop_back();
    if (digits_.empty())
        point_ = 0;
}

void Decimal::shift(int powersOfTen)
{
    if (!isZero())
        point_ += powersOfTen;
}

bool Decimal::roundsUp(size_t keep, Rounding mode) const
{
    const char first = digits_[keep];
    if (first != '5')
        return first > '5';
    if (mode == Rounding::HalfAwayFromZero || keep + 1 < digits_.size())
        return true; // digits after the 5 (never zeros: trimmed) make it more than half
    const int last = keep == 0 ? 0 : digits_[keep - 1] - '0';
    return last % 2 == 1;
}

void Decimal::round(int decimals, Rounding mode)
{
    if (isZero())
        return;
    const long keepSigned = long(point_) + decimals;
    if (keepSigned >= long(digits_.size()))
        return;
    if (keepSigned < 0) {
        *this = Decimal();
        return;
    }
    const size_t keep = size_t(keepSigned);
    const bool up = roundsUp(keep, mode);
    digits_.resize(keep);
    if (up) {
        size_t i = keep;
        while (i > 0 && digits_[i - 1] == '9') {
            digits_[i - 1] = '0';
            --i;
        }
        if (i == 0) {
            digits_.insert(digits_.begin(), '1');
            ++point_;
        } else {
            ++digits_[i - 1];
        }
    }
    trim();
}

std::string Decimal::integerDigits() const
{
    if (point_ <= 0)
        return {};
    std::string out = digits_.substr(0, size_t(qMin<int>(point_, int(digits_.size()))));
    if (point_ > int(digits_.size()))
        out.append(size_t(point_) - digits_.size(), '0');
    return out;
}

std::string Decimal::fractionDigits() const
{
    if (int(digits_.size()) <= point_)
        return {};
    std::string out;
    if (point_ < 0)
        out.assign(size_t(-point_), '0');
    out.append(digits_.substr(size_t(qMax(point_, 0))));
    return out;
}

double Decimal::toDouble() const
{
    if (isZero())
        return 0.0;
    std::string text = "0." + digits_ + "e" + std::to_string(point_);
    double value = 0.0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (res.ec == std::errc::result_out_of_range)
        value = point_ > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative_ ? -value : value;
}

bool Decimal::toScaled(int scale, qint64& out) const
{
    Decimal d = *this;
    d.shift(scale);
    if (!d.fractionDigits().empty())
        return false;
    const std::string digits = d.integerDigits();
    if (digits.size() > 19)
        return false;
    quint64 magnitude = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    const quint64 limit = quint64(std::numeric_limits<qint64>::max()) + (negative_ ? 1 : 0);
    if (magnitude > limit)
        return false;
    out = negative_ ? qint64(0 - magnitude) : qint64(magnitude);
    return true;
}

QString Decimal::generalText(const QString& decimalSeparator, int significant) const
{
    if (isZero())
        return QStringLiteral("0");
    QString out;
    if (negative_)
        out += QLatin1Char('-');
    const int exponent = point_ - 1;
    if (significant > 0 && (exponent < -4 || exponent >= significant)) {
        out += QLatin1Char(digits_[0]);
        if (digits_.size() > 1)
            out += decimalSeparator + QString::fromLatin1(digits_.data() + 1, qsizetype(digits_.size() - 1));
        const int magnitude = exponent < 0 ? -exponent : exponent;
        out += exponent < 0 ? QLatin1String("E-") : QLatin1String("E+");
        if (magnitude < 10)
            out += QLatin1Char('0');
        out += QString::number(magnitude);
        return out;
    }
    const std::string whole = integerDigits();
    out += whole.empty() ? QStringLiteral("0") : QString::fromLatin1(whole.data(), qsizetype(whole.size()));
    const std::string fraction = fractionDigits();
    if (!fraction.empty())
        out += decimalSeparator + QString::fromLatin1(fraction.data(), qsizetype(fraction.size()));
    return out;
}

} // namespace vb::detail
