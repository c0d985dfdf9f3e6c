#include "documents/frmImpressoes.h"

#include "connection/ConnectionState.h"
#include "connection/ErrorReport.h"
#include "documents/ImportarFicheiro.h"
#include "documents/modComDlg.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/SqlCompose.h"
#include "platform/folders/SpecialFolders.h"
#include "platform/objects/AdminFiscrGeneral.h"
#include "platform/objects/CreateObject.h"
#include "platform/values/Conversions.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"
#include "settings/modRegistry.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStyle>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

using namespace platform::msgbox;

const char16_t selectDefaultEmail[] =
    u"SELECT * FROM tbContactos_Emails WHERE email_default=1 AND contacto_id=%1";
const char16_t selectContact[] = u"SELECT * FROM tbContactos WHERE contacto_id=%1";
const char16_t countAddresses[] =
    u"SELECT COUNT(*) AS moradas FROM tbContactos_Moradas WHERE contacto_id = %1 AND "
    u"(LTRIM(RTRIM(morada)) <> N'' OR LTRIM(RTRIM(localidade)) <> N'')";
const char16_t selectSigner[] =
    u"SELECT tbUsers.*, tbContactos.chave FROM tbUsers LEFT JOIN tbContactos ON "
    u"tbUsers.contacto_id = tbContactos.contacto_id WHERE tbUsers.descrit = N'%1'";
const QString viewName = QStringLiteral("vwContactos_Quarvenses_Completos");
const QString archiveTitle = QStringLiteral("Arquivo Documental");
const QString lettersFolder = QStringLiteral("quarvenses-cartas");
const QString productKeyPrefix = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\");
const QString webAddressValue = QStringLiteral("EnderecoWeb");
const QString makersWebAddress = QStringLiteral("www.quarvenses.pt");
constexpr int lineWidth = 36; // the mail's framed lines
constexpr int firstPosition = 1;
constexpr int lastPosition = 6;
enum Position { Print = 1, Open = 2, Produce = 3, Mail = 4, SaveAs = 5, File = 6 };

// The mail text's line break: line feed, then carriage return.
const QString NL = QStringLiteral("\n\r");

// The rich-text form around a body: a header of 101 characters and a
// trailer of 10, so that StringRTF's slice yields the body.
const QString rtfHeader =
    QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Segoe UI;}}"
                   "\r\n\\viewkind4\\uc1\\pard\\f0\\fs16 ");
const QString rtfTrailer = QStringLiteral("\\par\r\n}\r\n ");
constexpr int rtfHeaderLength = 101;
constexpr int rtfTrailerLength = 10;

struct ButtonSpec {
    const char* key;
    const char* caption;
    const char* theme;
    QStyle::StandardPixmap fallback;
};

const ButtonSpec buttonSpecs[] = {
    {"btImprimir", "&Imprimir", "document-print", QStyle::SP_FileDialogDetailedView},
    {"btAbrir", "&Abrir", "document-open", QStyle::SP_DialogOpenButton},
    {"btProduzir", "&Produzir", "document-new", QStyle::SP_FileIcon},
    {"btEnviar", "&Enviar por correio", "mail-send", QStyle::SP_ArrowForward},
    {"btGuardar", "&Guardar como…", "document-save-as", QStyle::SP_DialogSaveButton},
    {"btArquivar", "A&rquivar", "folder", QStyle::SP_DirIcon},
};

platform::WindowServices& windows()
{
    return platform::WindowServices::current();
}

QString textOf(const ado::Recordset& rs, const char* field)
{
    if (rs.Eof())
        return {};
    const vb::Variant v = rs(QString::fromLatin1(field));
    return v.isNull() ? QString() : vb::CStr(v);
}

// The first row's field of a query, empty text when there is none.
QString firstValue(const QString& sql, const char* field)
{
    ado::Recordset rs;
    rs.Open(sql, Data().SqlServer);
    const QString value = textOf(rs, field);
    rs.Close();
    return value;
}

// A text centred between blanks on a line of the mail's width.
QString centred(const QString& text)
{
    const int room = qMax(0, lineWidth - int(text.size()));
    return QString(room / 2, u' ') + text + QString(room - room / 2, u' ');
}

// RTF for a plain text: control characters escaped, line breaks as \par,
// what is not ASCII as \uN with a "?" for readers that do not know it.
QString rtfBody(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        if (c == u'\\' || c == u'{' || c == u'}')
            out += u'\\' + QString(c);
        else if (c == u'\n')
            out += QStringLiteral("\\par\r\n");
        else if (c == u'\r')
            continue;
        else if (c.unicode() > 0x7f)
            out += QStringLiteral("\\u") + QString::number(qint16(c.unicode())) + QStringLiteral("?");
        else
            out += c;
    }
    return out;
}

void report(const char* procedure, const vb::Error& e)
{
    ErrorReport::send(ErrorReport::Origin::PrintForm, QString::fromLatin1(procedure), e);
}

// The family's generator, connected as the component is; nothing when it
// cannot be created (the action then ends without a word).
std::shared_ptr<contracts::AdminFiscrGeneral> connectedGenerator()
{
    std::shared_ptr<contracts::AdminFiscrGeneral> generator;
    try {
        generator = vb::CreateObjectAs<contracts::AdminFiscrGeneral>(
            QString::fromLatin1(contracts::AdminFiscrGeneral::ProgId));
    } catch (const vb::Error&) {
        return nullptr;
    }
    ConnectionState& c = Conn();
    QString user = c.strUser, password = c.strPassword, cnUser = c.strCnUser, cnPassword = c.strCnPassword,
            catalog = c.strInitialCatalog, source = c.strDataSource, secondary = c.strDataSourceSecondary;
    generator->SQLConnect(user, password, cnUser, cnPassword, catalog, source, secondary, 0);
    return generator;
}

} // namespace

frmImpressoes::frmImpressoes(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmImpressoes"));
    setWindowTitle(QStringLiteral("Impressões"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    Q_ASSERT(rtfHeader.size() == rtfHeaderLength && rtfTrailer.size() == rtfTrailerLength);
}

frmImpressoes::~frmImpressoes() = default;

void frmImpressoes::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    Toolbar2 = new QToolBar(this);
    Toolbar2->setObjectName(QStringLiteral("Toolbar2"));
    Toolbar2->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    QStyle* style = QApplication::style();
    for (const ButtonSpec& spec : buttonSpecs) {
        QAction* a = Toolbar2->addAction(
            QIcon::fromTheme(QString::fromLatin1(spec.theme), style->standardIcon(spec.fallback)),
            QString::fromUtf8(spec.caption));
        a->setObjectName(QString::fromLatin1(spec.key));
        buttons_.append(a);
    }
    Toolbar2->addSeparator();
    cancel_ = Toolbar2->addAction(
        QIcon::fromTheme(QStringLiteral("dialog-cancel"), style->standardIcon(QStyle::SP_DialogCancelButton)),
        QStringLiteral("&Cancelar"));
    cancel_->setObjectName(QStringLiteral("btCancelar"));
    connect(Toolbar2, &QToolBar::actionTriggered, this, &frmImpressoes::Toolbar2_ButtonClick);
    layout->addWidget(Toolbar2);

    Frame_Contacto = new QGroupBox(QStringLiteral("Documento para o contacto"), this);
    Frame_Contacto->setObjectName(QStringLiteral("Frame_Contacto"));
    auto* choices = new QVBoxLayout(Frame_Contacto);
    Option3 = new QRadioButton(QStringLiteral("Carta &personalizada (mailing)"), Frame_Contacto);
    Option3->setObjectName(QStringLiteral("Option3"));
    Option4 = new QRadioButton(QStringLiteral("&Correio electrónico personalizado"), Frame_Contacto);
    Option4->setObjectName(QStringLiteral("Option4"));
    choices->addWidget(Option3);
    choices->addWidget(Option4);
    layout->addWidget(Frame_Contacto);
    connect(Option3, &QRadioButton::toggled, this, &frmImpressoes::optionChosen);
    connect(Option4, &QRadioButton::toggled, this, &frmImpressoes::optionChosen);
    Option3->setChecked(true);

    RichTextBox1 = new QTextEdit(this);
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    RichTextBox1->hide();
}

QAction* frmImpressoes::button(int position) const
{
    return position >= firstPosition && position <= lastPosition ? buttons_[position - 1] : nullptr;
}

QAction* frmImpressoes::cancelButton() const
{
    return cancel_;
}

// The mailing offers every action; the e-mail only sending and cancelling.
void frmImpressoes::optionChosen()
{
    for (int position = firstPosition; position <= lastPosition; ++position)
        button(position)->setEnabled(Option3->isChecked() || position == Mail);
}

void frmImpressoes::Toolbar2_ButtonClick(QAction* clicked)
{
    if (clicked == cancel_) {
        close();
        return;
    }
    if (!Frame_Contacto->isEnabled())
        return;
    qint32 position = qint32(buttons_.indexOf(clicked)) + 1;
    if (position < firstPosition)
        return;
    if (Option3->isChecked())
        Imprimir_Mailings(position);
    else
        Imprimir_Emails(position);
    close();
}

void frmImpressoes::shell(const QString& verb, const QString& file)
{
    windows().shellExecute(this, verb, file, platform::tempFolder() + u'/');
}

void frmImpressoes::Imprimir_Mailings(qint32& position)
{
    try {
        const std::shared_ptr<contracts::AdminFiscrGeneral> generator = connectedGenerator();
        if (!generator)
            return;
        if (!addressOrYes())
            return;
        qint32 id = ContactId;
        const QString document = ownCopy(generator->Mailing_Personalizado(id, viewName));
        if (document.isEmpty() || position < firstPosition || position > lastPosition)
            return;
        switch (position) {
        case Print:
            if (QFileInfo(document).suffix().compare(QStringLiteral("pdf"), Qt::CaseInsensitive) == 0)
                windows().printDocument(this, QStringLiteral("Imprimir carta"), document);
            else
                shell(QStringLiteral("print"), document);
            break;
        case Open:
            shell(QStringLiteral("open"), document);
            break;
        case Produce:
            break;
        case Mail:
            mailDocument(document);
            break;
        case SaveAs:
            if (const QString saved = saveCopy(document, chooseCopyName(document)); !saved.isEmpty())
                shell(QStringLiteral("open"), saved);
            break;
        case File:
            fileInArchive(document);
            break;
        default:
            break;
        }
    } catch (const vb::Error& e) {
        report("Imprimir_Mailings", e);
    }
}

// A letter to a contact without an address would go out with an empty
// window in the envelope: the user decides.
bool frmImpressoes::addressOrYes()
{
    if (firstValue(sql::compose(countAddresses, {ContactId}), "moradas") != QLatin1String("0"))
        return true;
    return windows().messageBox(QStringLiteral("Este contacto não tem morada: a carta sai sem o endereço do "
                                               "destinatário.\n\nDeseja fazê-la assim mesmo?"),
                                Exclamation | YesNo | DefaultButton2, windowTitle()) == AnswerYes;
}

// The generator never takes over a file already there, so each letter made
// for the same contact would leave another copy ("Carta - X (6).pdf") in the
// temporary folder. The letter is moved to a folder of our own under its
// plain name, where it replaces the one made before (ours too).
QString frmImpressoes::ownCopy(const QString& made)
{
    if (made.isEmpty() || !QFileInfo::exists(made))
        return made;
    const QFileInfo info(made);
    static const QRegularExpression counter(QStringLiteral(" \\(\\d+\\)$"));
    const QString plain = info.completeBaseName().remove(counter) +
                          (info.suffix().isEmpty() ? QString() : u'.' + info.suffix());
    const QDir folder(platform::tempFolder() + u'/' + lettersFolder);
    if (!folder.mkpath(QStringLiteral(".")))
        return made;
    const QString target = folder.filePath(plain);
    if (target == made)
        return made;
    QFile::remove(target);
    return QFile::rename(made, target) ? target : made;
}

// The generated document's own name and kind are proposed: a PDF letter
// is offered as a PDF.
QString frmImpressoes::chooseCopyName(const QString& document)
{
    const QFileInfo made(document);
    const QString suffix = made.suffix().toLower();
    const QString kind = suffix == QStringLiteral("pdf")   ? QStringLiteral("Documento PDF")
                         : suffix == QStringLiteral("odt") ? QStringLiteral("Documento ODF")
                                                           : QStringLiteral("Documento");
    return modComDlg::SaveFileName(
        vb::Variant(platform::specialFolder(platform::folder::DesktopDirectory)),
        vb::Variant(QStringLiteral("Guardar a carta como")), vb::Variant(kind),
        vb::Variant(QStringLiteral("*.") + (suffix.isEmpty() ? QStringLiteral("*") : suffix)),
        made.fileName());
}

// The copy keeps the document's own kind: a PDF letter saved as "carta.doc"
// becomes "carta.pdf". A file already there is replaced only when the user
// says so, and then whole (never removed first). Empty when nothing was saved.
QString frmImpressoes::saveCopy(const QString& document, const QString& chosen)
{
    if (chosen.isEmpty())
        return {};
    const QString suffix = QFileInfo(document).suffix();
    QString target = chosen;
    if (!suffix.isEmpty() && QFileInfo(chosen).suffix().compare(suffix, Qt::CaseInsensitive) != 0)
        target = QFileInfo(chosen).suffix().isEmpty()
                     ? chosen + u'.' + suffix
                     : chosen.left(chosen.size() - QFileInfo(chosen).suffix().size()) + suffix;
    if (QFileInfo::exists(target) &&
        windows().messageBox(QStringLiteral("O ficheiro «") + QFileInfo(target).fileName() +
                                 QStringLiteral("» já existe. Deseja substituí-lo?"),
                             Exclamation | YesNo | DefaultButton2, windowTitle()) != AnswerYes)
        return {};
    QFile source(document);
    QSaveFile copy(target);
    if (!source.open(QIODevice::ReadOnly) || !copy.open(QIODevice::WriteOnly) ||
        copy.write(source.readAll()) < 0 || !copy.commit())
        throw vb::Error(vb::errnum::InvalidProcedureCall,
                        QStringLiteral("Não foi possível guardar o documento em «") + target +
                            QStringLiteral("»."));
    return target;
}

void frmImpressoes::fileInArchive(const QString& document)
{
    const QString archived = documents::ImportarFicheiro(document, ContactId, this);
    if (archived.isEmpty()) {
        windows().messageBox(
            QStringLiteral("Não foi possível guardar o ficheiro no arquivo documental do contacto."),
            Critical, archiveTitle);
        return;
    }
    emit documentFiled(ContactId);
    windows().messageBox(QStringLiteral("O documento foi guardado com sucesso no arquivo documental.") + NL +
                             NL +
                             QStringLiteral("Para ver os documentos anexados deste contacto abra o separador "
                                            "'Arquivo Documental'."),
                         Information, archiveTitle);
    shell(QStringLiteral("open"), archived);
}

void frmImpressoes::mailDocument(const QString& document)
{
    const QString address = firstValue(sql::compose(selectDefaultEmail, {ContactId}), "email");
    firstValue(sql::compose(selectContact, {ContactId}),
               "nome_union"); // read as ever; the client names the recipient
    const QString signer = firstValue(sql::compose(selectSigner, {sql::doubled(Conn().strUser)}), "chave");
    const vb::Variant site =
        modRegistry::ObterValorString(productKeyPrefix + Conn().strDataServer, webAddressValue);
    const QString web =
        site.isNull() || vb::CStr(site).trimmed().isEmpty() ? makersWebAddress : vb::CStr(site).trimmed();
    const QString hyphens(lineWidth, u'-');
    platform::MailMessage message;
    message.attachments = {document};
    message.subject = QStringLiteral("Informação sobre Recibos");
    message.recipient = address;
    message.body =
        QStringLiteral(" ") + NL + NL + QStringLiteral("Exmos Senhores,") + NL + NL +
        QStringLiteral("Junto envio um ficheiro em anexo com a informação sobre os recibos pretendidos.") +
        NL + NL + QStringLiteral("Com os nossos melhores cumprimentos.") + NL + NL + signer + NL + NL + NL +
        NL + hyphens + NL + QStringLiteral(" MENSAGEM PROCESSADA POR COMPUTADOR ") + NL + centred(web) + NL +
        hyphens + NL;
    windows().sendMail(message);
}

void frmImpressoes::Imprimir_Emails(qint32&)
{
    try {
        const std::shared_ptr<contracts::AdminFiscrGeneral> generator = connectedGenerator();
        if (!generator)
            return;
        qint32 id = ContactId;
        generator->Email_Personalizado(id, viewName);
    } catch (const vb::Error& e) {
        report("Imprimir_Emails", e);
    }
}

QString frmImpressoes::StringRTF(const QString& text)
{
    try {
        RichTextBox1->setPlainText(text);
        const QString form = rtfHeader + rtfBody(RichTextBox1->toPlainText()) + rtfTrailer;
        return form.mid(rtfHeaderLength, form.size() - rtfHeaderLength - rtfTrailerLength);
    } catch (const vb::Error& e) {
        report("StringRTF", e);
        return {};
    }
}
