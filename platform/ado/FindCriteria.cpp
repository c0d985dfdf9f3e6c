#include "platform/ado/FindCriteria.h"

#include "platform/values/Conversions.h"
#include "platform/values/VbError.h"
#include <QDate>
#include <QHash>
#include <cmath>
#include <limits>

namespace ado {

namespace {

vb::Error badCriteria(const QString& text)
{
    return vb::Error(3001,
                     QStringLiteral("Os argumentos são do tipo errado, estão fora do intervalo aceitável ou "
                                    "estão em conflito: «%1».")
                         .arg(text),
                     QStringLiteral("ADODB.Recordset"));
}

QString readField(const QString& text, qsizetype& pos)
{
    if (text[pos] == u'[') {
        const qsizetype end = text.indexOf(u']', pos);
        if (end < 0)
            throw badCriteria(text);
        const QString name = text.mid(pos + 1, end - pos - 1);
        pos = end + 1;
        return name;
    }
    const qsizetype start = pos;
    while (pos < text.size() && (text[pos].isLetterOrNumber() || text[pos] == u'_' || text[pos] == u'.'))
        ++pos;
    return text.mid(start, pos - start);
}

QString readOperator(const QString& text, qsizetype& pos)
{
    for (const char* op : {"<>", "<=", ">=", "=", "<", ">"}) {
        const QString candidate = QString::fromLatin1(op);
        if (text.mid(pos, candidate.size()) == candidate) {
            pos += candidate.size();
            return candidate;
        }
    }
    if (text.mid(pos, 4).compare(QStringLiteral("LIKE"), Qt::CaseInsensitive) == 0) {
        pos += 4;
        return QStringLiteral("LIKE");
    }
    return {};
}

vb::Variant readQuoted(const QString& text, qsizetype pos)
{
    QString value;
    for (++pos; pos < text.size(); ++pos) {
        if (text[pos] != u'\'') {
            value += text[pos];
        } else if (pos + 1 < text.size() && text[pos + 1] == u'\'') {
            value += u'\'';
            ++pos;
        } else {
            if (!text.mid(pos + 1).trimmed().isEmpty())
                throw badCriteria(text);
            return value;
        }
    }
    throw badCriteria(text);
}

vb::Variant readValue(const QString& text, qsizetype pos)
{
    while (pos < text.size() && text[pos].isSpace())
        ++pos;
    if (pos >= text.size())
        throw badCriteria(text);
    if (text[pos] == u'\'')
        return readQuoted(text, pos);
    const QString rest = text.mid(pos).trimmed();
    if (rest.startsWith(u'#') && rest.endsWith(u'#') && rest.size() > 2) {
        const vb::Variant date = vb::CDate(vb::Variant(rest.mid(1, rest.size() - 2)));
        return date;
    }
    if (rest.compare(QStringLiteral("null"), Qt::CaseInsensitive) == 0)
        return vb::Variant::null();
    bool ok = false;
    const double number = rest.toDouble(&ok);
    if (!ok)
        throw badCriteria(text);
    return vb::Variant(number);
}

// ADO's LIKE: "*" or "%" at the start and/or the end only.
bool likeMatches(const QString& value, QString pattern)
{
    const auto isWild = [](QChar c) { return c == u'*' || c == u'%'; };
    const bool open_start = !pattern.isEmpty() && isWild(pattern.front());
    if (open_start)
        pattern.remove(0, 1);
    const bool open_end = !pattern.isEmpty() && isWild(pattern.back());
    if (open_end)
        pattern.chop(1);
    if (open_start && open_end)
        return value.contains(pattern, Qt::CaseInsensitive);
    if (open_start)
        return value.endsWith(pattern, Qt::CaseInsensitive);
    if (open_end)
        return value.startsWith(pattern, Qt::CaseInsensitive);
    return value.compare(pattern, Qt::CaseInsensitive) == 0;
}

FindCriteria::Comparison comparisonOf(const QString& op)
{
    using C = FindCriteria::Comparison;
    static const QHash<QString, C> comparisons = {
        {QStringLiteral("="), C::Equal},        {QStringLiteral("<>"), C::NotEqual},
        {QStringLiteral("<"), C::Less},         {QStringLiteral(">"), C::Greater},
        {QStringLiteral("<="), C::LessOrEqual}, {QStringLiteral(">="), C::GreaterOrEqual},
        {QStringLiteral("LIKE"), C::Like}};
    return comparisons.value(op, C::Equal);
}

int compare(const vb::Variant& a, const vb::Variant& b)
{
    if (a.isString() || b.isString())
        return vb::StrComp(vb::CStr(a), vb::CStr(b), vb::Compare::Text);
    const double x = a.isDate() ? a.get<vb::Date>()->serial : vb::CDbl(a);
    const double y = b.isDate() ? b.get<vb::Date>()->serial : vb::CDbl(b);
    return x < y ? -1 : (x > y ? 1 : 0);
}

} // namespace

FindCriteria FindCriteria::parse(const QString& text)
{
    FindCriteria criteria;
    qsizetype pos = 0;
    while (pos < text.size() && text[pos].isSpace())
        ++pos;
    if (pos >= text.size())
        throw badCriteria(text);
    criteria.field = readField(text, pos);
    while (pos < text.size() && text[pos].isSpace())
        ++pos;
    criteria.op = readOperator(text, pos);
    if (criteria.field.isEmpty() || criteria.op.isEmpty())
        throw badCriteria(text);
    criteria.comparison = comparisonOf(criteria.op);
    criteria.value = readValue(text, pos);
    if (const double* number = criteria.value.get<double>();
        number && criteria.comparison == Comparison::Equal && *number == std::trunc(*number) &&
        *number >= std::numeric_limits<qint32>::min() && *number <= std::numeric_limits<qint32>::max())
        criteria.wholeKey = qint32(*number);
    return criteria;
}

bool FindCriteria::matchesAnyKind(const vb::Variant& fieldValue) const
{
    if (value.isNull())
        return comparison == Comparison::Equal ? fieldValue.isNull()
                                               : (comparison == Comparison::NotEqual && !fieldValue.isNull());
    if (fieldValue.isNull() || fieldValue.isEmpty())
        return false;
    if (comparison == Comparison::Like)
        return likeMatches(vb::CStr(fieldValue), vb::CStr(value));
    try {
        return holds(compare(fieldValue, value));
    } catch (const vb::Error&) {
        return false; // a text against a number: no match, as a type mismatch finds nothing
    }
}

bool FindCriteria::holds(int order) const
{
    switch (comparison) {
    case Comparison::Equal:
        return order == 0;
    case Comparison::NotEqual:
        return order != 0;
    case Comparison::Less:
        return order < 0;
    case Comparison::Greater:
        return order > 0;
    case Comparison::LessOrEqual:
        return order <= 0;
    case Comparison::GreaterOrEqual:
    case Comparison::Like:
        break;
    }
    return order >= 0;
}

} // namespace ado
