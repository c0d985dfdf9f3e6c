#include "platform/values/Variant.h"

#include "platform/values/Decimal.h"
#include "platform/values/VbError.h"

#include <cmath>

namespace vb {

Currency Currency::fromDouble(double d)
{
    // VB rounds to the fourth decimal, halves to even, of the value's digits.
    if (!std::isfinite(d))
        throw Error::overflow();
    detail::Decimal digits = detail::Decimal::fromDouble(d);
    digits.round(4, detail::Decimal::Rounding::HalfToEven);
    Currency c;
    if (!digits.toScaled(4, c.scaled))
        throw Error::overflow();
    return c;
}

Variant Variant::null()
{
    Variant v;
    v.v_ = NullTag{};
    return v;
}

Variant Variant::missing()
{
    Variant v;
    v.v_ = MissingTag{};
    return v;
}

VarType Variant::type() const
{
    struct Visitor {
        VarType operator()(std::monostate) const { return VarType::Empty; }
        VarType operator()(NullTag) const { return VarType::Null; }
        VarType operator()(MissingTag) const { return VarType::Error; }
        VarType operator()(bool) const { return VarType::Boolean; }
        VarType operator()(qint16) const { return VarType::Integer; }
        VarType operator()(qint32) const { return VarType::Long; }
        VarType operator()(float) const { return VarType::Single; }
        VarType operator()(double) const { return VarType::Double; }
        VarType operator()(Currency) const { return VarType::Currency; }
        VarType operator()(Date) const { return VarType::Date; }
        VarType operator()(const QString&) const { return VarType::String; }
        VarType operator()(const ObjectRef&) const { return VarType::Object; }
    };
    return std::visit(Visitor{}, v_);
}

bool Variant::isNumber() const
{
    switch (type()) {
    case VarType::Boolean:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
        return true;
    default:
        return false;
    }
}

const ObjectRef& Variant::object() const
{
    static const ObjectRef nothing;
    const ObjectRef* o = std::get_if<ObjectRef>(&v_);
    return o ? *o : nothing;
}

QString Variant::typeName() const
{
    switch (type()) {
    case VarType::Empty:
        return QStringLiteral("Empty");
    case VarType::Null:
        return QStringLiteral("Null");
    case VarType::Integer:
        return QStringLiteral("Integer");
    case VarType::Long:
        return QStringLiteral("Long");
    case VarType::Single:
        return QStringLiteral("Single");
    case VarType::Double:
        return QStringLiteral("Double");
    case VarType::Currency:
        return QStringLiteral("Currency");
    case VarType::Date:
        return QStringLiteral("Date");
    case VarType::String:
        return QStringLiteral("String");
    case VarType::Object:
        return object() ? QStringLiteral("Object") : QStringLiteral("Nothing");
    case VarType::Error:
        return QStringLiteral("Error");
    case VarType::Boolean:
        return QStringLiteral("Boolean");
    }
    return {};
}

} // namespace vb
