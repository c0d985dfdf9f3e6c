#include "platform/values/VbError.h"

namespace vb {

Error::Error(int number, QString description, QString source)
    : number_(number), description_(std::move(description)), source_(std::move(source)),
      what_(QStringLiteral("%1: %2").arg(number_).arg(description_).toStdString())
{
}

Error Error::overflow()
{
    return Error(errnum::Overflow, QStringLiteral("Overflow"));
}
Error Error::typeMismatch()
{
    return Error(errnum::TypeMismatch, QStringLiteral("Type mismatch"));
}
Error Error::invalidUseOfNull()
{
    return Error(errnum::InvalidUseOfNull, QStringLiteral("Invalid use of Null"));
}
Error Error::objectNotSet()
{
    return Error(errnum::ObjectNotSet, QStringLiteral("Object variable or With block variable not set"));
}
Error Error::cannotCreateObject(const QString& progId)
{
    return Error(errnum::CannotCreateObject, QStringLiteral("ActiveX component can't create object"), progId);
}
Error Error::notSupported(const QString& member)
{
    return Error(errnum::NotSupported, QStringLiteral("Object doesn't support this property or method"),
                 member);
}

} // namespace vb
