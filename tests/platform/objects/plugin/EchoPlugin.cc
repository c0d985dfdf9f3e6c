// A component plugin as the family ships them, for the loading tests.
#include "platform/objects/ComponentRegistry.h"
#include "tests/platform/objects/EchoContract.h"
#include <memory>

namespace {

class Echo : public EchoContract {
public:
    QString echo(const QString& text) override { return QStringLiteral("eco: ") + text; }
};

} // namespace

QV_COMPONENT_EXPORT void quarvenses_register_components(platform::ComponentRegistrar& registrar)
{
    registrar.add(QStringLiteral("QvTest.Echo"), [] { return std::make_shared<Echo>(); });
    registrar.add(QStringLiteral("QvTest.Taken"), [] { return std::make_shared<Echo>(); });
}
