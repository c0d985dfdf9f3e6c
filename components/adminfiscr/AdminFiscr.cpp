#include "components/adminfiscr/AdminFiscr.h"

#include "components/adminfiscr/GeneratorSettings.h"
#include "components/adminfiscr/LetterData.h"
#include "components/adminfiscr/LetterFile.h"
#include "components/adminfiscr/LetterTemplate.h"
#include "connection/ErrorReport.h"
#include "data/DatabaseConnection.h"
#include "platform/folders/SpecialFolders.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"

namespace adminfiscr {

namespace {

const QString title = QStringLiteral("Admin_Fiscr");
constexpr int notConnected = 3704; // ADO's "operation is not allowed when the object is closed"

// The e-mail's text, merged like the letter but as plain text.
const char emailBody[] = R"({{saudacao}}

Vimos por este meio pedir a {{tratamento}} que {{confirme}} os dados de contacto que constam do nosso ficheiro:

Morada: {{endereco}}
Número de contribuinte: {{nif}}
Telefone: {{telefone}}
Correio electrónico: {{email}}

Caso algum destes elementos não esteja correcto ou tenha sido alterado, agradecemos que nos {{responda}} a esta mensagem com os dados actualizados.

Com os melhores cumprimentos,

{{assinatura}}
{{empresa}}
)";

void report(const QString& procedure, const vb::Error& e)
{
    ErrorReport::send(ErrorReport::Source::custom(title, title, QStringLiteral("General")), procedure, e);
}

void report(const QString& procedure, const std::exception& e)
{
    ErrorReport::send(ErrorReport::Source::custom(title, title, QStringLiteral("General")), procedure, e);
}

template <class F> QString guarded(const QString& procedure, F&& f) noexcept
{
    try {
        return f();
    } catch (const vb::Error& e) {
        report(procedure, e);
    } catch (const std::exception& e) {
        report(procedure, e);
    }
    return {};
}

QString noAddress(const QString& name)
{
    return QStringLiteral("O contacto ") + name + QStringLiteral(" não tem endereço de correio electrónico.");
}

} // namespace

bool AdminFiscr::SQLConnect(QString& user, QString& password, QString& cnUser, QString& cnPassword,
                            QString& cnInitialCatalog, QString& cnDataSource, QString& cnDataSourceSecondary,
                            qint16)
{
    if (connection_.State() == ado::adStateOpen)
        return true;
    user_ = user;
    return DatabaseConnection::OpenOwn(user, password, cnUser, cnPassword, cnInitialCatalog, cnDataSource,
                                       cnDataSourceSecondary, connection_);
}

LetterData AdminFiscr::letterData(qint32 contactoId, const QString& viewName)
{
    if (connection_.State() != ado::adStateOpen)
        throw vb::Error(notConnected,
                        QStringLiteral("O gerador de documentos não está ligado ao servidor de dados."));
    return readLetterData(connection_, viewName, contactoId, user_, QDate::currentDate());
}

QString AdminFiscr::mailing(qint32 contactoId, const QString& viewName)
{
    const LetterData data = letterData(contactoId, viewName);
    const QString html = merge(letterTemplate(), data.fields, Escaping::Html);
    const QString base =
        QStringLiteral("Carta - ") +
        safeFileName(data.contactName, QStringLiteral("contacto ") + QString::number(contactoId));
    return writeLetter(html, data.fields.value(QStringLiteral("assunto")), platform::tempFolder(), base,
                       odfRequested() ? DocumentFormat::Odf : DocumentFormat::Pdf);
}

QString AdminFiscr::email(qint32 contactoId, const QString& viewName)
{
    const LetterData data = letterData(contactoId, viewName);
    platform::WindowServices& windows = platform::WindowServices::current();
    if (data.email.isEmpty()) {
        windows.messageBox(noAddress(data.contactName), platform::msgbox::Information, title);
        return {};
    }
    platform::MailMessage message;
    message.recipient = data.email;
    message.subject = data.fields.value(QStringLiteral("assunto"));
    MergeFields fields = data.fields;
    // The message names the address on one line.
    fields[QStringLiteral("endereco")].replace(u'\n', QStringLiteral(", "));
    message.body = merge(QString::fromUtf8(emailBody), fields, Escaping::None);
    return windows.sendMail(message) ? data.email : QString();
}

QString AdminFiscr::Mailing_Personalizado(qint32& contactoId, const QString& viewName)
{
    return guarded(QStringLiteral("Mailing_Personalizado"), [&] { return mailing(contactoId, viewName); });
}

QString AdminFiscr::Email_Personalizado(qint32& contactoId, const QString& viewName)
{
    return guarded(QStringLiteral("Email_Personalizado"), [&] { return email(contactoId, viewName); });
}

} // namespace adminfiscr
