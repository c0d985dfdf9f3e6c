#include "platform/objects/CreateObject.h"
#include "platform/objects/ComponentRegistry.h"

namespace vb {

ObjectRef CreateObject(const QString& progId)
{
    return platform::ComponentRegistry::instance().create(progId);
}

} // namespace vb
