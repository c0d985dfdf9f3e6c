#include "data/modData.h"

#include "connection/ErrorReport.h"
#include "data/modCode.h"
#include "platform/values/Conversions.h"
#include "platform/values/Format.h"
#include "platform/values/Regional.h"

namespace modData {
namespace {

QString cachedThousands;
QString cachedDecimal;

QString nullLiteralFor(int kind)
{
    switch (kind) {
    case kTextNotNull:
        return QStringLiteral("N''");
    case kPattern:
        return QStringLiteral("N'%%'");
    case kDate:
    case kNumber:
    case kText:
    case kDateTime:
    case kNumber2:
        return QStringLiteral("null");
    default:
        return QString();
    }
}

bool isBlank(const vb::Variant& value)
{
    return vb::Trim(vb::CStr(value)).isEmpty();
}

// Text goes to N columns as N'…': a plain literal would pass through the
// server's code page and lose what lies outside it. Each piece between the
// apostrophes' CHAR(39) is such a literal.
QString nationalLiteral(QString& text)
{
    return QStringLiteral("N'") +
           modCode::Trtf(text).replace(QStringLiteral("' + CHAR(39) + '"),
                                       QStringLiteral("' + CHAR(39) + N'")) +
           QStringLiteral("'");
}

QString textLiteral(const vb::Variant& value)
{
    QString text = vb::Trim(vb::CStr(value));
    return nationalLiteral(text);
}

// Spaces become "%" before the apostrophes are rewritten: the rewrite's own
// blanks ("' + CHAR(39) + '") must stay blanks or the literal breaks.
QString patternLiteral(const vb::Variant& value)
{
    QString pattern = SearchPattern(value);
    return nationalLiteral(pattern);
}

// A number as SQL reads it: every digit kept, "." as the decimal point, no
// grouping. Thousands separators typed by the user are dropped when both
// separators are present; a lone "," or "." is the decimal point.
QString numberLiteral(const vb::Variant& value)
{
    if (const bool* b = value.get<bool>())
        return *b ? QStringLiteral("1") : QStringLiteral("0");
    if (!IsNumericLocale(value))
        return QStringLiteral("null");
    QString text = vb::Trim(vb::CStr(value));
    if (text.contains(QLatin1Char(',')) && text.contains(QLatin1Char('.')))
        text.remove(ThousandsSeparator());
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    return text;
}

QString convertDate(const vb::Variant& date, int kind)
{
    const QString mask =
        kind == kDateTime ? QStringLiteral("yyyy-mm-dd Hh:Nn:Ss") : QStringLiteral("yyyy-mm-dd");
    return QStringLiteral("CONVERT(DATETIME,'") + vb::Format(date, mask) + QStringLiteral("',102)");
}

QString dateLiteral(const vb::Variant& value, int kind)
{
    const QString trimmed = vb::Trim(vb::CStr(value));
    if (trimmed == QLatin1String("- - -"))
        return QStringLiteral("null");
    if (vb::IsDate(value)) {
        const vb::Variant date = vb::CDate(value);
        const double serial = date.get<vb::Date>()->serial;
        const double firstOf1900 =
            vb::CDate(vb::Variant(QStringLiteral("01-01-1900"))).get<vb::Date>()->serial;
        if (serial == firstOf1900 || serial == 0.0)
            return QStringLiteral("null");
        return convertDate(date, kind);
    }
    const QString text = vb::CStr(value);
    if (text.size() == 8) {
        const vb::Variant spelled(text.mid(0, 2) + QLatin1Char('-') + text.mid(2, 2) + QLatin1Char('-') +
                                  text.mid(4, 4));
        if (vb::IsDate(spelled))
            return convertDate(vb::CDate(spelled), kind);
    }
    return QStringLiteral("null");
}

} // namespace

const QString& ThousandsSeparator()
{
    if (cachedThousands.isEmpty())
        cachedThousands = vb::regional().thousandsSeparator.left(10);
    return cachedThousands;
}

const QString& DecimalSeparator()
{
    if (cachedDecimal.isEmpty())
        cachedDecimal = vb::regional().decimalSeparator.left(10);
    return cachedDecimal;
}

void ForgetRegionalSeparators()
{
    cachedThousands.clear();
    cachedDecimal.clear();
}

QString SearchPattern(const vb::Variant& value)
{
    if (value.isNull() || value.isEmpty())
        return QStringLiteral("%%");
    QString text = vb::Trim(vb::CStr(value));
    text.replace(QLatin1Char(' '), QLatin1Char('%'));
    return QStringLiteral("%") + text + QStringLiteral("%");
}

QString FormatSQLValue(const vb::Variant& value, int kind)
{
    if (value.isNull() || isBlank(value))
        return nullLiteralFor(kind);
    switch (kind) {
    case kText:
    case kTextNotNull:
        return textLiteral(value);
    case kPattern:
        return patternLiteral(value);
    case kNumber:
    case kNumber2:
        return numberLiteral(value);
    case kDate:
    case kDateTime:
        return dateLiteral(value, kind);
    default:
        return QString();
    }
}

bool IsNumericLocale(const vb::Variant& value)
{
    QString text = vb::CStr(value);
    const bool comma = text.contains(QLatin1Char(','));
    const bool point = text.contains(QLatin1Char('.'));
    if (comma && point) {
        text.remove(ThousandsSeparator());
    } else if (comma || point) {
        text.replace(QLatin1Char('.'), DecimalSeparator());
        text.replace(QLatin1Char(','), DecimalSeparator());
    }
    return vb::IsNumeric(vb::Variant(text));
}

namespace {

QString displayOf(const vb::Variant& value, int kind)
{
    switch (kind) {
    case 1:
        return vb::Format(value, QStringLiteral("dd-mm-yyyy"));
    case 2:
        return vb::Format(value, QStringLiteral("#,##0.00;- #,##0.00"));
    case 3:
        return vb::CStr(value);
    case 4:
        return vb::Format(value, QStringLiteral("€ #,##0.00;€ -#,##0.00"));
    case 5:
        return vb::Format(value, QStringLiteral("0.00 %"));
    case 6:
        return vb::Format(vb::Variant(int(vb::CLng(value))), QStringLiteral("#,##0"));
    case 7:
        return vb::Format(value, QStringLiteral("dd-mm-yyyy Hh:Nn:Ss"));
    case 8:
        return vb::Format(value, QStringLiteral("yyyy-mm-dd"));
    default:
        return {};
    }
}

} // namespace

QString ListField(const ado::Recordset& rs, const QString& fieldName, int kind)
{
    try {
        for (int i = 0; i < rs.FieldCount(); ++i) {
            const ado::Field field = rs.Fields(i);
            if (field.Name().compare(fieldName, Qt::CaseInsensitive) != 0)
                continue;
            const vb::Variant value = field.Value();
            return value.isNull() ? QStringLiteral(" ") : displayOf(value, kind);
        }
        return QStringLiteral(" ");
    } catch (const vb::Error& e) {
        ErrorReport::send(ErrorReport::Origin::SqlLiteralsData, QStringLiteral("ListField"), e);
    } catch (const std::exception& e) {
        ErrorReport::send(ErrorReport::Origin::SqlLiteralsData, QStringLiteral("ListField"), e);
    }
    return {};
}

} // namespace modData
