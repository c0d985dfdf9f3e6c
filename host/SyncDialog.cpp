#include "host/SyncDialog.h"

#include "connection/StringCipher.h"
#include "host/FirstRun.h"
#include "permissions/ContactsFile.h"
#include "platform/values/Conversions.h"
#include "platform/values/VbError.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"
#include "settings/modRegistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString title = QStringLiteral("Sincronizar contactos");
const QString urlValue = QStringLiteral("Endereco");
const QString userValue = QStringLiteral("Utilizador");
const QString passwordValue = QStringLiteral("Senha");
const QString fileValue = QStringLiteral("Ficheiro");
constexpr int mostLinesShown = 15;

platform::WindowServices& windows()
{
    return platform::WindowServices::current();
}

QString stored(const QString& key, const QString& value)
{
    return vb::CStr(modRegistry::ObterValorString(key, value, vb::Variant(QString())));
}

} // namespace

QString SyncDialog::settingsKey(const QString& user)
{
    // A key's parts are separated by backslashes; a name holding one stays one part.
    QString part = user;
    part.replace(u'\\', u'_');
    return QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\") +
           QString::fromLatin1(FirstRun::productKey) + QStringLiteral("\\CardDAV\\") + part;
}

SyncDialog::SyncDialog(QString user, QWidget* parent)
    : QDialog(parent), user_(std::move(user)), url_(new QLineEdit(this)), davUser_(new QLineEdit(this)),
      password_(new QLineEdit(this)), file_(new QLineEdit(this)),
      remember_(new QCheckBox(QStringLiteral("&Lembrar a senha neste computador"), this))
{
    setObjectName(QStringLiteral("frmSincronizar"));
    setWindowTitle(title);
    setModal(true);
    url_->setObjectName(QStringLiteral("txtEndereco"));
    url_->setPlaceholderText(QStringLiteral("https://servidor.exemplo.pt/"));
    davUser_->setObjectName(QStringLiteral("txtUtilizador"));
    password_->setObjectName(QStringLiteral("txtSenha"));
    password_->setEchoMode(QLineEdit::Password);
    file_->setObjectName(QStringLiteral("txtFicheiro"));
    remember_->setObjectName(QStringLiteral("chkLembrar"));
    auto* intro = new QLabel(QStringLiteral("Os contactos do ficheiro que pode abrir passam para o livro de "
                                            "endereços do servidor CardDAV do escritório, e o que mudar lá "
                                            "(num telemóvel, por exemplo) volta para aqui."),
                             this);
    intro->setWordWrap(true);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Endereço do servidor:"), url_);
    form->addRow(QStringLiteral("&Utilizador:"), davUser_);
    form->addRow(QStringLiteral("&Senha:"), password_);
    form->addRow(QStringLiteral("&Ficheiro:"), file_);
    form->addRow(QString(), remember_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Sincronizar"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdSincronizar"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 70);
    loadSettings();
}

void SyncDialog::loadSettings()
{
    const QString key = settingsKey(user_);
    url_->setText(stored(key, urlValue));
    davUser_->setText(stored(key, userValue));
    const QString file = stored(key, fileValue);
    file_->setText(file.isEmpty() ? contactsfile::name : file);
    const QString password = stored(key, passwordValue);
    remember_->setChecked(!password.isEmpty());
    try {
        if (!password.isEmpty())
            password_->setText(StringCipher::Decipher(password));
    } catch (const vb::Error&) {
        password_->clear(); // written with another site's key: asked again
    }
}

void SyncDialog::saveSettings()
{
    const QString key = settingsKey(user_);
    modRegistry::GravarShadow(key, urlValue, url_->text().trimmed());
    modRegistry::GravarShadow(key, userValue, davUser_->text().trimmed());
    modRegistry::GravarShadow(key, fileValue, file_->text().trimmed());
    modRegistry::GravarShadow(key, passwordValue,
                              remember_->isChecked() ? StringCipher::Encipher(password_->text()) : QString());
}

bool SyncDialog::synchroniseNow()
{
    saveSettings();
    QProgressDialog progress(QStringLiteral("A sincronizar…"), QString(), 0, 1, parentWidget());
    progress.setObjectName(QStringLiteral("frmProgresso"));
    progress.setWindowTitle(title);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setCancelButton(nullptr);
    progress.show();
    carddav::DavClient client({davUser_->text().trimmed(), password_->text()});
    AskingChooser chooser(parentWidget());
    QApplication::setOverrideCursor(Qt::BusyCursor);
    summary_ = carddav::synchronise(
        client, {QUrl::fromUserInput(url_->text().trimmed()), file_->text().trimmed(), user_}, chooser,
        [&](int done, int total, const QString& step) {
            progress.setMaximum(total);
            progress.setValue(done);
            progress.setLabelText(step + QStringLiteral("…"));
        });
    QApplication::restoreOverrideCursor();
    progress.close();
    QStringList text;
    if (!summary_.failure.isEmpty())
        text << QStringLiteral("A sincronização parou: ") + summary_.failure + u'.';
    text << summary_.totals();
    const QStringList details = summary_.lines + summary_.refused + summary_.archived;
    for (const QString& line : details.mid(0, mostLinesShown))
        text << line;
    if (details.size() > mostLinesShown)
        text << QStringLiteral("… e mais ") + QString::number(details.size() - mostLinesShown) + u'.';
    windows().messageBox(text.join(u'\n'),
                         platform::msgbox::OKOnly | (summary_.complete() ? platform::msgbox::Information
                                                                         : platform::msgbox::Exclamation),
                         title);
    return summary_.received > 0 || summary_.leftTheFile > 0;
}

carddav::Keep AskingChooser::choose(const QString& contactName, qint32 contactId)
{
    const int answer = windows().messageBox(
        QStringLiteral("«") + contactName + QStringLiteral("» (n.º ") + QString::number(contactId) +
            QStringLiteral(") foi alterado no catálogo e no servidor desde a última sincronização.\n\n"
                           "Sim: fica a versão do catálogo.\nNão: fica a versão do servidor.\n"
                           "Cancelar: decidir na próxima sincronização.\n\n"
                           "A versão que não ficar é guardada no arquivo do contacto."),
        platform::msgbox::YesNoCancel | platform::msgbox::Question, title);
    if (answer == platform::msgbox::AnswerYes)
        return carddav::Keep::Catalog;
    if (answer == platform::msgbox::AnswerNo)
        return carddav::Keep::Server;
    return carddav::Keep::Later;
}
