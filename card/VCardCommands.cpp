// The shown contact as a vCard 4.0 file: saved where the user says, or
// attached to a message in the user's mail client.
#include "card/frmInicial.h"
#include "connection/ConnectionState.h"
#include "documents/vcard/VCardExchange.h"
#include "platform/folders/SpecialFolders.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"

#include <QDir>

namespace {

const QString exportTitle = QStringLiteral("Exportar vCard");
const QString mailTitle = QStringLiteral("Enviar vCard por correio");
const QString saveFirst =
    QStringLiteral("Grave primeiro o contacto: o vCard leva o contacto tal como está gravado.");

platform::WindowServices& windows()
{
    return platform::WindowServices::current();
}

} // namespace

// The stored contact, as one card; empty (and the user told why) when there
// is none to give.
QByteArray frmInicial::shownContactCard(const QString& title, QString& name)
{
    if (isNew || Contacto_ID == 0 || prpAlteracoes()) {
        windows().messageBox(saveFirst, platform::msgbox::Information, title);
        return {};
    }
    QString problem;
    QStringList names;
    const QByteArray card = vcard::exportContacts({Contacto_ID}, Conn().strUser, &problem, &names);
    if (names.isEmpty()) {
        windows().messageBox(QStringLiteral("Não foi possível exportar o contacto: ") + problem,
                             platform::msgbox::Exclamation, title);
        return {};
    }
    name = names.first();
    return card;
}

void frmInicial::exportVCard()
{
    QString name;
    const QByteArray card = shownContactCard(exportTitle, name);
    if (card.isEmpty())
        return;
    const QString path = windows().saveFileName(vcard::saveRequest(exportTitle, vcard::fileNameFor(name)));
    if (path.isEmpty())
        return;
    QString problem;
    if (!vcard::writeFile(path, card, problem))
        windows().messageBox(QStringLiteral("Não foi possível gravar o ficheiro «") + path +
                                 QStringLiteral("»: ") + problem,
                             platform::msgbox::Exclamation, exportTitle);
}

void frmInicial::mailVCard()
{
    QString name;
    const QByteArray card = shownContactCard(mailTitle, name);
    if (card.isEmpty())
        return;
    const QString path = QDir(platform::tempFolder()).filePath(vcard::fileNameFor(name));
    QString problem;
    if (!vcard::writeFile(path, card, problem)) {
        windows().messageBox(QStringLiteral("Não foi possível preparar o anexo: ") + problem,
                             platform::msgbox::Exclamation, mailTitle);
        return;
    }
    platform::MailMessage message;
    message.attachments = {path};
    message.subject = QStringLiteral("Contacto: ") + name;
    message.body = QStringLiteral("Junto envio o contacto de ") + name + QStringLiteral(" em formato vCard.");
    windows().sendMail(message);
}
