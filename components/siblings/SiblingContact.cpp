#include "components/siblings/SiblingContact.h"

#include "components/siblings/ContactSheet.h"
#include "connection/ErrorReport.h"
#include "data/DatabaseConnection.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"

namespace siblings {

namespace {

const QString notConnected =
    QStringLiteral("Não há ligação ao servidor de dados: não é possível mostrar o contacto.");

QString notFound(qint32 id)
{
    return QStringLiteral("O contacto n.º ") + QString::number(id) +
           QStringLiteral(" não existe: pode ter sido eliminado por outro utilizador.");
}

} // namespace

SiblingContact::SiblingContact(QString product) : product_(std::move(product)) {}

bool SiblingContact::SQLConnect(QString& user, QString& password, QString& cnUser, QString& cnPassword,
                                QString& cnInitialCatalog, QString& cnDataSource,
                                QString& cnDataSourceSecondary, qint16 flags)
{
    if (connection_.State() == ado::adStateOpen)
        return true;
    credentials_ = {user, password, cnUser, cnPassword, cnInitialCatalog, cnDataSource, cnDataSourceSecondary,
                    flags};
    return DatabaseConnection::OpenOwn(user, password, cnUser, cnPassword, cnInitialCatalog, cnDataSource,
                                       cnDataSourceSecondary, connection_);
}

void SiblingContact::Registo(std::shared_ptr<ado::Recordset>&, qint32& id)
{
    try {
        showSheet(id);
    } catch (const vb::Error& e) {
        ErrorReport::send(ErrorReport::Source::custom(product_, product_, QStringLiteral("General")),
                          QStringLiteral("Registo"), e);
    } catch (const std::exception& e) {
        ErrorReport::send(ErrorReport::Source::custom(product_, product_, QStringLiteral("General")),
                          QStringLiteral("Registo"), e);
    }
}

void SiblingContact::showSheet(qint32 id)
{
    if (connection_.State() != ado::adStateOpen) {
        tell(notConnected);
        return;
    }
    const std::optional<ContactDetails> details = readContact(connection_, id);
    if (!details) {
        tell(notFound(id));
        return;
    }
    auto* sheet = new ContactSheet(product_, *details, credentials_, connection_);
    sheet->show();
    sheet->raise();
    sheet->activateWindow();
}

void SiblingContact::tell(const QString& text) const
{
    platform::WindowServices::current().messageBox(text, platform::msgbox::Information, product_);
}

} // namespace siblings
