#include "data/TaxNumber.h"

#include <QStringList>

namespace TaxNumber {

namespace {

constexpr int length = 9;
constexpr int modulus = 11;

// The first digit, or the first two, that numbers are given out with:
// individuals 1, 2, 3 and 45; companies 5; public bodies 6; sole traders 8;
// 70–79 and 90–99 for particular kinds of entity.
bool knownPrefix(const QString& digits)
{
    static const QStringList singles = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                        QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("8")};
    static const QStringList pairs = {QStringLiteral("45"), QStringLiteral("70"), QStringLiteral("71"),
                                      QStringLiteral("72"), QStringLiteral("74"), QStringLiteral("75"),
                                      QStringLiteral("77"), QStringLiteral("79"), QStringLiteral("90"),
                                      QStringLiteral("91"), QStringLiteral("98"), QStringLiteral("99")};
    return singles.contains(digits.left(1)) || pairs.contains(digits.left(2));
}

} // namespace

int checkDigit(const QString& firstEight)
{
    int sum = 0;
    for (int i = 0; i < length - 1 && i < firstEight.size(); ++i)
        sum += firstEight[i].digitValue() * (length - i);
    const int rest = sum % modulus;
    return rest < 2 ? 0 : modulus - rest;
}

bool isValidPortuguese(const QString& typed)
{
    QString digits = typed;
    digits.remove(u' ');
    if (digits.size() != length)
        return false;
    for (const QChar c : digits)
        if (c < u'0' || c > u'9')
            return false;
    return knownPrefix(digits) && checkDigit(digits.left(length - 1)) == digits[length - 1].digitValue();
}

} // namespace TaxNumber
