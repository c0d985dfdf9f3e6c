// The plugin's one export: both sibling products' contact components.
#include "components/siblings/SiblingContact.h"
#include "platform/objects/ComponentRegistry.h"
#include <memory>

QV_COMPONENT_EXPORT void quarvenses_register_components(platform::ComponentRegistrar& registrar)
{
    registrar.add(QString::fromLatin1(contracts::SiblingContacts::SnviaProgId),
                  [] { return std::make_shared<siblings::SiblingContact>(QStringLiteral("Snvia")); });
    registrar.add(QString::fromLatin1(contracts::SiblingContacts::TravixProgId),
                  [] { return std::make_shared<siblings::SiblingContact>(QStringLiteral("Travix")); });
}
