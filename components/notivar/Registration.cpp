// The plugin's one export: it makes Notivar.General creatable.
#include "components/notivar/Notivar.h"
#include "platform/objects/ComponentRegistry.h"
#include <memory>

QV_COMPONENT_EXPORT void quarvenses_register_components(platform::ComponentRegistrar& registrar)
{
    registrar.add(QString::fromLatin1(contracts::NotivarGeneral::ProgId),
                  [] { return std::make_shared<notivar::Notivar>(); });
}
