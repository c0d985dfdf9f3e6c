#include "components/notivar/Notivar.h"
#include "platform/folders/ErrorLog.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"
#include <cstdio>

namespace notivar {

namespace {

const QString Reconnecting = QStringLiteral("A restabelecer a ligação ao servidor de dados…");
const QString Reconnected = QStringLiteral("A ligação ao servidor de dados foi restabelecida.");
const QString NotReconnected =
    QStringLiteral("Não foi possível restabelecer a ligação ao servidor de dados.");

void toStandardError(const platform::ErrorLogEntry& entry)
{
    std::fprintf(stderr, "%s\n", platform::ErrorLog::line(entry).toUtf8().constData());
}

template <class F> void guarded(F&& f) noexcept
{
    try {
        f();
    } catch (...) {
        // The reporter is the last resort: a failure of its own goes nowhere.
    }
}

} // namespace

bool Notivar::quiet()
{
    return qEnvironmentVariable("QUARVENSES_REPORTER_QUIET") == QLatin1String("1");
}

QString Notivar::boxText(const QString& title2, const QString& module, const QString& procedure,
                         const QString& message)
{
    QString text;
    if (!title2.isEmpty())
        text += title2 + QStringLiteral("\n\n");
    text += message.isEmpty() ? QStringLiteral("Ocorreu um erro.") : message;
    text += QStringLiteral("\n\nMódulo: %1\nProcedimento: %2").arg(module, procedure);
    return text;
}

void Notivar::Report(const QString& title, const QString& title2, const QString& module,
                     const QString& procedure, const QString& message)
{
    guarded([&] {
        const platform::ErrorLogEntry entry{title, title2, module, procedure, message};
        if (!platform::ErrorLog::append(entry))
            toStandardError(entry);
        if (!quiet())
            platform::WindowServices::current().messageBox(boxText(title2, module, procedure, message),
                                                           platform::msgbox::Critical, title);
    });
}

void Notivar::SQLReconnectShow(QWidget* form)
{
    guarded([&] { platform::WindowServices::current().showStatus(form, Reconnecting, 0); });
}

void Notivar::SQLReconnectShutdown(QWidget*)
{
    guarded([] { platform::WindowServices::current().closeStatus(); });
}

void Notivar::SQLReconnectShowOK(QWidget* form)
{
    guarded([&] { platform::WindowServices::current().showStatus(form, Reconnected, OutcomeShownMs); });
}

void Notivar::SQLReconnectShowBad(QWidget* form)
{
    guarded([&] { platform::WindowServices::current().showStatus(form, NotReconnected, OutcomeShownMs); });
}

} // namespace notivar
