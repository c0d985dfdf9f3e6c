#pragma once
// VB's CreateObject and the late-bound call through a contract:
//
//   auto reporter = vb::CreateObjectAs<contracts::NotivarGeneral>(contracts::NotivarGeneral::ProgId);
//   reporter->Report(title, title2, module, procedure, message);
//
// An identifier nobody provides raises 429 "ActiveX component can't create
// object"; an object without the contract raises 438 "Object doesn't support
// this property or method".
#include "platform/values/Variant.h"
#include "platform/values/VbError.h"
#include <QString>
#include <memory>

namespace vb {

ObjectRef CreateObject(const QString& progId);

template <class Contract>
std::shared_ptr<Contract> objectAs(const ObjectRef& object, const QString& member = {})
{
    if (!object)
        throw Error::objectNotSet();
    auto typed = std::dynamic_pointer_cast<Contract>(object);
    if (!typed)
        throw Error::notSupported(member);
    return typed;
}

template <class Contract> std::shared_ptr<Contract> CreateObjectAs(const QString& progId)
{
    return objectAs<Contract>(CreateObject(progId), progId);
}

} // namespace vb
