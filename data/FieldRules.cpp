#include "data/FieldRules.h"

#include <QRegularExpression>

namespace FieldRules {

namespace {

constexpr int minimumTelephoneDigits = 3;
constexpr int maximumTelephoneLength = 30;

bool matches(const QRegularExpression& rule, const QString& typed)
{
    return rule.match(typed.trimmed()).hasMatch();
}

} // namespace

bool isEmailAddress(const QString& typed)
{
    static const QRegularExpression rule(QStringLiteral(
        "^[\\p{L}\\p{N}.!#$%&'*+/=?^_`{|}~-]+@[\\p{L}\\p{N}](?:[\\p{L}\\p{N}-]*[\\p{L}\\p{N}])?"
        "(?:\\.[\\p{L}\\p{N}](?:[\\p{L}\\p{N}-]*[\\p{L}\\p{N}])?)+$"));
    const QString text = typed.trimmed();
    const QString local = text.section(u'@', 0, 0);
    return matches(rule, text) && !local.startsWith(u'.') && !local.endsWith(u'.') &&
           !local.contains(QStringLiteral(".."));
}

bool isTelephoneNumber(const QString& typed)
{
    static const QRegularExpression rule(QStringLiteral("^\\(?\\+?[0-9 ()./-]+$"));
    const QString text = typed.trimmed();
    int digits = 0;
    for (const QChar c : text)
        digits += c.isDigit() ? 1 : 0;
    return matches(rule, text) && digits >= minimumTelephoneDigits && text.size() <= maximumTelephoneLength;
}

bool isPortugal(const QString& country)
{
    const QString text = country.trimmed();
    return text.compare(QStringLiteral("Portugal"), Qt::CaseInsensitive) == 0 ||
           text.compare(QStringLiteral("PT"), Qt::CaseInsensitive) == 0;
}

bool isPostalCodeFor(const QString& code, const QString& country)
{
    static const QRegularExpression portuguese(QStringLiteral("^[0-9]{4}-[0-9]{3}$"));
    return !isPortugal(country) || matches(portuguese, code);
}

} // namespace FieldRules
