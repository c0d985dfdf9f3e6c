#include "host/HostSession.h"

#include "component/General.h"
#include "connection/StringCipher.h"
#include "host/FirstRun.h"
#include "host/HostWindow.h"
#include "platform/values/VbError.h"

HostSession::HostSession(HostOptions options)
    : options_(std::move(options)), component_(std::make_unique<General>())
{
}

HostSession::~HostSession()
{
    window_.reset();
    component_.reset();
}

QString HostSession::serverFolder() const
{
    return options_.dataFolder.isEmpty() ? FirstRun::defaultServerFolder() : options_.dataFolder;
}

bool HostSession::prepare(QString& problem)
{
    if (!options_.server.isEmpty())
        return true; // a site's own server: nothing to create
    try {
        FirstRun::chooseSettingsFolder();
        if (!options_.dataFolder.isEmpty())
            FirstRun::keepSettingsApartFor(options_.dataFolder);
        FirstRun::ensure(serverFolder());
        return true;
    } catch (const vb::Error& e) {
        problem =
            QStringLiteral("Não foi possível preparar a base de dados de demonstração: ") + e.description();
        return false;
    }
}

bool HostSession::signIn(const QString& user, const QString& password, QString& problem)
{
    const QString enciphered = StringCipher::Encipher(password);
    bool ok = false;
    if (options_.server.isEmpty()) {
        ok = component_->Login(user, enciphered);
    } else {
        const QString login = options_.login.isEmpty() ? user : options_.login;
        const QString loginPassword = options_.loginPassword.isEmpty() ? password : options_.loginPassword;
        ok = component_->SQLConnect(user, enciphered, login, StringCipher::Encipher(loginPassword),
                                    options_.catalog, options_.server, options_.secondary);
    }
    if (!ok)
        problem = QStringLiteral(
            "Não foi possível entrar: o utilizador ou a senha não estão certos, ou o servidor de dados não "
            "responde.");
    return ok;
}

HostWindow& HostSession::showMain()
{
    window_ = std::make_unique<HostWindow>(*component_, options_.windowSettings);
    window_->show();
    window_->refreshList();
    return *window_;
}
