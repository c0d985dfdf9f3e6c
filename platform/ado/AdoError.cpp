#include "platform/ado/AdoError.h"

namespace ado::error {

namespace {
const QString adoSource = QStringLiteral("ADODB.Recordset");
const QString providerSource = QStringLiteral("Microsoft OLE DB Provider for SQL Server");
} // namespace

vb::Error closed()
{
    return vb::Error(vb::errnum::AdoObjectClosed,
                     QStringLiteral("A operação não é permitida quando o objecto está fechado."), adoSource);
}

vb::Error alreadyOpen()
{
    return vb::Error(3705, QStringLiteral("A operação não é permitida quando o objecto está aberto."),
                     adoSource);
}

vb::Error noCurrentRecord()
{
    return vb::Error(vb::errnum::AdoNoCurrentRecord,
                     QStringLiteral("BOF ou EOF é verdadeiro, ou o registo actual foi eliminado. "
                                    "A operação pedida exige um registo actual."),
                     adoSource);
}

vb::Error itemNotFound(const QString& name)
{
    return vb::Error(vb::errnum::AdoItemNotFound,
                     QStringLiteral("Não foi possível encontrar o item «%1» na colecção.").arg(name),
                     adoSource);
}

vb::Error notAllowed(const QString& what)
{
    return vb::Error(vb::errnum::AdoOperationNotAllowed,
                     QStringLiteral("A operação não é permitida neste contexto: %1.").arg(what), adoSource);
}

vb::Error unreachable(const QString& server)
{
    return vb::Error(
        ServerUnreachable,
        QStringLiteral("[DBNETLIB][ConnectionOpen (Connect()).]O servidor SQL Server «%1» não existe "
                       "ou o acesso foi negado.")
            .arg(server),
        providerSource);
}

vb::Error loginFailed(const QString& login)
{
    return vb::Error(LoginFailed, QStringLiteral("Falha no início de sessão do utilizador '%1'.").arg(login),
                     providerSource);
}

vb::Error catalogRefused(const QString& catalog)
{
    return vb::Error(LoginFailed,
                     QStringLiteral("Não é possível abrir a base de dados «") + catalog +
                         QStringLiteral("» pedida pelo início de sessão. O início de sessão falhou."),
                     providerSource)
        .setNativeError(CatalogRefusedNative);
}

vb::Error timeout()
{
    return vb::Error(Timeout, QStringLiteral("O tempo limite expirou."), providerSource);
}

vb::Error provider(const QString& text)
{
    return vb::Error(ProviderError, text, providerSource);
}

vb::Error noTransaction()
{
    return vb::Error(
        TransactionState,
        QStringLiteral("O pedido COMMIT TRANSACTION não tem um BEGIN TRANSACTION correspondente."),
        providerSource);
}

vb::Error transactionLost()
{
    return vb::Error(
        TransactionLost,
        QStringLiteral(
            "A ligação ao servidor perdeu-se com uma transacção aberta: nada do que ela continha foi "
            "gravado."));
}

vb::Error transactionDoomed()
{
    return vb::Error(
        TransactionState,
        QStringLiteral("Um passo da operação falhou dentro da transacção: nada do que ela continha "
                       "foi gravado."));
}

} // namespace ado::error
