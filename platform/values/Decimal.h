#pragma once
// A number as its significant decimal digits, the way VB reads and writes
// numbers: Doubles by their 15 significant digits, Singles by 7, Currency
// exactly. Conversions and Format round and print through it, so 1.005 rounds
// up as its digits say, and no printf-style function (whose decimal point
// follows the C locale) takes part.
#include <QString>
#include <QtGlobal>
#include <string>

namespace vb::detail {

class Decimal {
  public:
    static constexpr int DoubleDigits = 15;
    static constexpr int SingleDigits = 7;

    Decimal() = default; // zero
    // `significant` digits of a finite value; the caller rejects inf and NaN.
    static Decimal fromDouble(double value, int significant = DoubleDigits);
    static Decimal fromScaled(qint64 scaled, int scale); // scaled / 10^scale, exactly

    bool isZero() const { return digits_.empty(); }
    bool isNegative() const { return negative_ && !isZero(); }
    void setNegative(bool n) { negative_ = n; }
    // Number of digits before the decimal point: value = 0.digits × 10^point.
    int point() const { return point_; }
    void shift(int powersOfTen);

    enum class Rounding { HalfAwayFromZero, HalfToEven };
    void round(int decimals, Rounding mode);

    // Digits before the point without leading zeros ("" below 1), and after
    // it without trailing zeros.
    std::string integerDigits() const;
    std::string fractionDigits() const;
    const std::string& significantDigits() const { return digits_; }

    double toDouble() const;
    // Value × 10^scale as an integer when it fits; the caller rounds first.
    bool toScaled(int scale, qint64& out) const;

    // VB's general form (CStr): fixed notation, or d.dddE±XX when the
    // exponent is below -4 or reaches `significant`; never scientific when
    // `significant` is 0.
    QString generalText(const QString& decimalSeparator, int significant) const;

  private:
    void trim();
    bool roundsUp(size_t keep, Rounding mode) const;

    bool negative_ = false;
    std::string digits_; // no leading or trailing zeros
    int point_ = 0;
};

} // namespace vb::detail
