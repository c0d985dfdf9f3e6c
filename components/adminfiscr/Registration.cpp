// The plugin's one export: it makes Admin_Fiscr.General creatable.
#include "components/adminfiscr/AdminFiscr.h"
#include "platform/objects/ComponentRegistry.h"
#include <memory>

QV_COMPONENT_EXPORT void quarvenses_register_components(platform::ComponentRegistrar& registrar)
{
    registrar.add(QString::fromLatin1(contracts::AdminFiscrGeneral::ProgId),
                  [] { return std::make_shared<adminfiscr::AdminFiscr>(); });
}
