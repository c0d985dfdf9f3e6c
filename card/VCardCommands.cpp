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

// The stored contact's name, as an export would give it; empty (and the
// user told why) when there is none to give. Nothing is stored yet.
QString frmInicial::exportableName(const QString& title)
{
    if (isNew || Contacto_ID == 0 || prpAlteracoes()) {
        windows().messageBox(saveFirst, platform::msgbox::Information, title);
        return {};
    }
    vcard::TrialDelivery trial;
    const vcard::ExportResult preview = vcard::exportContacts({Contacto_ID}, Conn().strUser, trial);
    if (preview.names.isEmpty()) {
        windows().messageBox(QStringLiteral("Não foi possível exportar o contacto: ") +
                                 (preview.skipped.isEmpty() ? preview.failure : preview.skipped.join(u'\n')),
                             platform::msgbox::Exclamation, title);
        return {};
    }
    return preview.names.first();
}

// The shown contact's card to `path`; the UID a first export gives is
// stored only with the file. False, and the user told, when it was not written.
bool frmInicial::writeShownCard(const QString& title, const QString& path, const QString& failed)
{
    vcard::FileDelivery file(path);
    const vcard::ExportResult result = vcard::exportContacts({Contacto_ID}, Conn().strUser, file);
    if (result.delivered)
        return true;
    windows().messageBox(failed + (result.skipped.isEmpty() ? result.failure : result.skipped.join(u'\n')),
                         platform::msgbox::Exclamation, title);
    return false;
}

void frmInicial::exportVCard()
{
    const QString name = exportableName(exportTitle);
    if (name.isEmpty())
        return;
    const QString path = windows().saveFileName(vcard::saveRequest(exportTitle, vcard::fileNameFor(name)));
    if (path.isEmpty())
        return;
    writeShownCard(exportTitle, path,
                   QStringLiteral("Não foi possível gravar o ficheiro «") + path + QStringLiteral("»: "));
}

void frmInicial::mailVCard()
{
    const QString name = exportableName(mailTitle);
    if (name.isEmpty())
        return;
    const QString path = QDir(platform::tempFolder()).filePath(vcard::fileNameFor(name));
    if (!writeShownCard(mailTitle, path, QStringLiteral("Não foi possível preparar o anexo: ")))
        return;
    platform::MailMessage message;
    message.attachments = {path};
    message.subject = QStringLiteral("Contacto: ") + name;
    message.body = QStringLiteral("Junto envio o contacto de ") + name + QStringLiteral(" em formato vCard.");
    windows().sendMail(message);
}
