#include "data/modSQLConnection.h"

#include "connection/ConnectionState.h"
#include "connection/StringCipher.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/Recordset.h"
#include "platform/objects/CreateObject.h"
#include "platform/objects/NotivarGeneral.h"
#include "platform/values/Conversions.h"
#include "platform/windows/WindowServices.h"

#include <QEventLoop>
#include <QTimer>

namespace modSQLConnection {

namespace {

constexpr int reconnectTimeout = 10;
constexpr int rounds = 4;

struct Probe {
    bool alive = false;
    bool inTransaction = false;
};

Probe probe(ado::Connection& connection)
{
    Probe result;
    if (connection.State() != ado::adStateOpen)
        return result;
    try {
        ado::Recordset rs = connection.Execute(QStringLiteral("SELECT @@TRANCOUNT as valor"));
        result.alive = true;
        if (rs.State() == ado::adStateOpen && !rs.Eof()) {
            const vb::Variant valor = rs(QStringLiteral("valor"));
            result.inTransaction = !valor.isNull() && vb::CDbl(valor) > 0;
        }
        if (rs.State() == ado::adStateOpen)
            rs.Close();
    } catch (const vb::Error&) {
    }
    return result;
}

void waitWhileConnecting(const ado::Connection& connection)
{
    while (connection.State() == ado::adStateConnecting) {
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

// One asynchronous attempt on the given kept (enciphered) string; true when it opened.
bool attempt(ado::Connection& connection, const QString& keptString)
{
    try {
        if (connection.State() != ado::adStateClosed)
            connection.Close();
        connection.setConnectionString(StringCipher::Decipher(keptString));
        connection.setConnectionTimeout(reconnectTimeout);
        connection.Open({}, {}, {}, ado::adAsyncConnect);
        waitWhileConnecting(connection);
        return connection.State() == ado::adStateOpen && connection.Errors().isEmpty();
    } catch (const vb::Error&) {
        return false;
    }
}

void reopen(ado::Connection& connection)
{
    const ConnectionState& c = Conn();
    const QString& inUse = c.bUseSecondary ? c.strSQLSecondaryConnString : c.strSQLMasterConnString;
    const QString& other = c.bUseSecondary ? c.strSQLMasterConnString : c.strSQLSecondaryConnString;
    // The lost connection still counts as open: close it before the rounds.
    if (connection.State() != ado::adStateClosed)
        connection.Close();
    for (int round = 0; round < rounds && connection.State() != ado::adStateOpen; ++round) {
        if (attempt(connection, inUse))
            return;
        if (attempt(connection, other))
            return;
    }
}

void reconnect(QWidget* form, ado::Connection& connection,
               std::shared_ptr<contracts::NotivarGeneral>& display)
{
    platform::WindowServices& windows = platform::WindowServices::current();
    if (form) {
        windows.repaint(form);
        windows.setWindowState(form, platform::windowstate::Minimized);
    }
    try {
        display = vb::CreateObjectAs<contracts::NotivarGeneral>(contracts::NotivarGeneral::ProgId);
        display->SQLReconnectShow(form);
    } catch (const vb::Error&) {
        display.reset();
    }
    const int timeout = connection.ConnectionTimeout();
    reopen(connection);
    connection.setConnectionTimeout(timeout);
    if (display) {
        display->SQLReconnectShutdown(form);
        if (connection.State() == ado::adStateOpen)
            display->SQLReconnectShowOK(form);
        else
            display->SQLReconnectShowBad(form);
    }
    if (form) {
        windows.setWindowState(form, platform::windowstate::Normal);
        windows.repaint(form);
    }
}

} // namespace

QString CheckSQLConnection(QWidget* form, ado::Connection& connection, bool& earlyStop,
                           bool& reconnectAllowed)
{
    if (Conn().strSQLMasterConnString.isEmpty())
        return {};
    if (connection.isNothing())
        connection = Data().SqlServer;
    if (connection.State() == ado::adStateConnecting)
        return QStringLiteral("...");
    // A transaction whose session went away cannot be carried on, on this
    // session or on a new one: the caller's work ends until it rolls back.
    if (connection.TransactionLost())
        return ado::error::transactionLost().description();
    platform::WindowServices& windows = platform::WindowServices::current();
    std::shared_ptr<contracts::NotivarGeneral> display;
    const int pointer = form ? windows.mousePointer(form) : 0;
    try {
        if (form)
            windows.setMousePointer(form, platform::pointer::Hourglass);
        const Probe state = probe(connection);
        const bool stopHere = (earlyStop && state.inTransaction) || state.alive || !reconnectAllowed;
        if (!stopHere)
            reconnect(form, connection, display);
        if (form)
            windows.setMousePointer(form, pointer);
        if (connection.TransactionLost())
            return ado::error::transactionLost().description();
        return {};
    } catch (const vb::Error& e) {
        if (form)
            windows.setMousePointer(form, platform::pointer::Default);
        if (display)
            display->SQLReconnectShutdown();
        return e.description().isEmpty() ? QStringLiteral("Erro") : e.description();
    }
}

QString CheckSQLConnection(QWidget* form)
{
    ado::Connection connection = ado::Connection::nothing();
    bool earlyStop = false;
    bool reconnectAllowed = true;
    return CheckSQLConnection(form, connection, earlyStop, reconnectAllowed);
}

bool IsUsable()
{
    ado::Connection& shared = Data().SqlServer;
    if (shared.isNothing() || shared.TransactionLost())
        return false;
    return probe(shared).alive;
}

} // namespace modSQLConnection
