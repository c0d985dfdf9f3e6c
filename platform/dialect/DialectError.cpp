#include "platform/dialect/DialectError.h"

namespace dialect {

namespace {
constexpr int providerError = -2147217900;
const QString source = QStringLiteral("Quarvenses SQL");
} // namespace

vb::Error unsupported(const QString& construct)
{
    return vb::Error(providerError,
                     QStringLiteral("A base de dados embebida não suporta a construção «%1».").arg(construct),
                     source);
}

vb::Error malformed(const QString& what)
{
    return vb::Error(providerError, QStringLiteral("Sintaxe incorrecta: %1.").arg(what), source);
}

vb::Error refusedAsTheServerDoes(int message, const QString& text)
{
    return vb::Error(providerError, text, source).setNativeError(message);
}

} // namespace dialect
