#include "data/modCode.h"

#include "connection/ConnectionState.h"
#include "connection/ErrorReport.h"
#include "platform/ado/Recordset.h"
#include "platform/values/Conversions.h"
#include "platform/windows/Translations.h"
#include "platform/windows/WindowServices.h"
#include "settings/frmMainChilds.h"

namespace modCode {

namespace {

// The process-wide owner form, created by the start-up.
frmMainChilds*& mainChilds()
{
    static frmMainChilds* form = nullptr;
    return form;
}

} // namespace

QString Trtf(QString& text)
{
    // A plain replace cannot fail; the rewrite keeps no partial state.
    text.replace(QLatin1Char('\''), QStringLiteral("' + CHAR(39) + '"));
    return text;
}

bool IsInTransaction()
{
    ado::Connection& shared = Data().SqlServer;
    if (shared.State() != ado::adStateOpen)
        return false;
    ado::Recordset rs = shared.Execute(QStringLiteral("SELECT @@TRANCOUNT as valor"));
    const bool open = rs.State() == ado::adStateOpen && !rs.Eof() && !rs(QStringLiteral("valor")).isNull() &&
                      vb::CDbl(rs(QStringLiteral("valor"))) != 0;
    rs.Close();
    return open;
}

bool CanPlayWave()
{
    try {
        return platform::WindowServices::current().waveOutDeviceCount() > 0;
    } catch (const vb::Error& e) {
        ErrorReport::send(ErrorReport::Origin::StartUp, QStringLiteral("CanPlayWave"), e);
    } catch (const std::exception& e) {
        ErrorReport::send(ErrorReport::Origin::StartUp, QStringLiteral("CanPlayWave"), e);
    }
    return false;
}

void PlayWave(QString& path)
{
    try {
        platform::WindowServices::current().playWave(path);
    } catch (const vb::Error& e) {
        ErrorReport::send(ErrorReport::Origin::StartUp, QStringLiteral("PlayWave"), e);
    } catch (const std::exception& e) {
        ErrorReport::send(ErrorReport::Origin::StartUp, QStringLiteral("PlayWave"), e);
    }
}

void StartUp()
{
    if (mainChilds())
        return;
    // The component's first window: Qt's own buttons and dialogs speak Portuguese from here on.
    platform::installPortugueseTranslations();
    // Never deleted: the owner form lives as long as the process.
    mainChilds() = new frmMainChilds();
    mainChilds()->Load();
}

frmMainChilds* MainChilds()
{
    return mainChilds();
}

} // namespace modCode
