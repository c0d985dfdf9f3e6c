// The desktop host of the contacts component: on the embedded demonstration
// database by default, signs in, lists the contacts and opens them on the
// record card. See HostOptions for the command line.
#include "card/frmInicial.h"
#include "component/General.h"
#include "host/FirstRun.h"
#include "host/HostSession.h"
#include "host/HostWindow.h"
#include "host/LoginDialog.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/Translations.h"
#include "platform/windows/WindowServices.h"
#include "tools/common/ProgramInfo.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>

namespace {

int fail(const QString& text, bool quiet)
{
    if (quiet)
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    else
        platform::WindowServices::current().messageBox(text, platform::msgbox::Critical,
                                                       QStringLiteral("Contactos Quarvenses"));
    return 1;
}

bool signInInteractively(HostSession& session)
{
    LoginDialog dialog;
    while (dialog.exec() == QDialog::Accepted) {
        QString problem;
        if (session.signIn(dialog.user(), dialog.password(), problem))
            return true;
        dialog.showProblem(problem);
    }
    return false;
}

void screenshotLater(HostSession& session, HostWindow& window, const QString& path)
{
    QTimer::singleShot(1500, [&session, &window, path] {
        frmInicial* card = session.component().card();
        QWidget* shown = card && card->isVisible() ? static_cast<QWidget*>(card) : &window;
        const bool saved = shown->grab().save(path);
        std::fprintf(stderr, saved ? "Imagem guardada em %s\n" : "Não foi possível guardar %s\n",
                     path.toUtf8().constData());
        QApplication::exit(saved ? 0 : 1);
    });
}

} // namespace

const QString usageText = QStringLiteral(
    "Utilização: quarvenses [--data <pasta>] [--open <contacto_id>] [--screenshot <ficheiro.png>]\n"
    "                       [--server <servidor> [--catalog <base de dados>] [--secondary <servidor>]\n"
    "                        [--login <login SQL> --login-password <senha>]]\n"
    "  --data        a pasta do servidor embutido (por omissão a dos dados do utilizador)\n"
    "  --open        abre a ficha desse contacto ao começar\n"
    "  --screenshot  entra com o utilizador de demonstração, guarda uma imagem da janela e sai\n"
    "  --server      liga-se a um SQL Server (SQLConnect) em vez de usar as definições guardadas\n");

int main(int argc, char** argv)
{
    if (toolsupport::answeredHelpOrVersion(argc, argv, "quarvenses", "a ficha de contactos e a sua lista",
                                           usageText))
        return 0;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quarvenses"));
    QApplication::setApplicationDisplayName(QStringLiteral("Contactos Quarvenses"));
    platform::installPortugueseTranslations();
    const HostOptions options = HostOptions::parse(app.arguments().mid(1));
    const bool unattended = !options.screenshot.isEmpty();
    if (!options.problem.isEmpty())
        return fail(options.problem, true);
    HostSession session(options);
    QString problem;
    if (!session.prepare(problem))
        return fail(problem, unattended);
    if (unattended) {
        if (!session.signIn(QString::fromLatin1(FirstRun::demoLogin),
                            QString::fromLatin1(FirstRun::demoPassword), problem))
            return fail(problem, true);
    } else if (!signInInteractively(session)) {
        return 0;
    }
    HostWindow& window = session.showMain();
    if (options.openContact != 0)
        window.openContact(options.openContact);
    if (unattended)
        screenshotLater(session, window, options.screenshot);
    return app.exec();
}
