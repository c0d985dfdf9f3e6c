#include "data/DatabaseConnection.h"

#include "connection/ConnectionState.h"
#include "connection/ConnectionStrings.h"
#include "connection/ErrorReport.h"
#include "connection/StringCipher.h"
#include "platform/values/Conversions.h"
#include "settings/modRegistry.h"

#include <QEventLoop>
#include <QTimer>

namespace DatabaseConnection {

int raceWinner(int primaryState, int secondaryState)
{
    if (primaryState == ado::adStateOpen)
        return 1;
    return secondaryState == ado::adStateOpen ? 2 : 0;
}

} // namespace DatabaseConnection

namespace DatabaseConnection {

namespace {

using ConnectionStrings::Ending;

const QString tlvKey = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Shared\\TLV");
// Connections made from the host's values never persist their security information.
const QString connectSecurityInfo = QStringLiteral("False");

bool alreadyConnected()
{
    return Conn().bSQLConnected && Data().SqlServer.State() == ado::adStateOpen;
}

// Lets window messages through while the asynchronous opens work.
void pollWhile(const std::function<bool()>& busy)
{
    while (busy()) {
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

void closeQuietly(ado::Connection& connection)
{
    try {
        if (connection.State() != ado::adStateClosed)
            connection.Close();
    } catch (const vb::Error&) {
    }
}

void openQuietly(ado::Connection& connection, const QString& text, bool asynchronous)
{
    try {
        connection.Open(text, {}, {}, asynchronous ? ado::adAsyncConnect : ado::adConnectUnspecified);
    } catch (const vb::Error&) {
    }
}

// Step 3 to 5: 1 when the primary answered (it wins a tie), 2 the secondary, 0 none.
int race(const QString& master, const QString& secondary)
{
    ado::Connection a;
    ado::Connection b;
    openQuietly(a, master, true);
    if (!secondary.isEmpty())
        openQuietly(b, secondary, true);
    pollWhile([&] {
        const int stateA = a.State();
        const int stateB = b.State();
        return stateA != ado::adStateOpen && stateB != ado::adStateOpen && stateA + stateB >= 2;
    });
    const int winner = raceWinner(a.State(), b.State());
    closeQuietly(a);
    closeQuietly(b);
    return winner;
}

// The user's own credentials, proved asynchronously on the server that answered.
bool proveUser(const QString& text)
{
    ado::Connection probe;
    openQuietly(probe, text, true);
    pollWhile([&] { return probe.State() == ado::adStateConnecting; });
    const bool proved = probe.State() == ado::adStateOpen && probe.Errors().isEmpty();
    closeQuietly(probe);
    return proved;
}

void openShared(const QString& decipheredText)
{
    ado::Connection& shared = Data().SqlServer;
    if (shared.State() != ado::adStateClosed)
        shared.Close();
    shared.Open(decipheredText);
}

// The secondary server worth racing: none when it is the primary again.
QString secondaryServer(const QString& cnDataSource, const QString& cnDataSourceSecondary)
{
    return cnDataSourceSecondary == cnDataSource ? QString() : cnDataSourceSecondary;
}

// The connection login's strings to the primary and, when there is one, the
// secondary server (empty otherwise).
struct ServerStrings {
    QString master;
    QString secondary;
};

ServerStrings serverStrings(const QString& cnUser, const QString& cnPassword, const QString& cnInitialCatalog,
                            const QString& cnDataSource, const QString& secondary)
{
    const QString loginPassword = StringCipher::Decipher(cnPassword);
    return {ConnectionStrings::build(connectSecurityInfo, cnUser, loginPassword, Ending::Encrypt,
                                     cnInitialCatalog, cnDataSource),
            secondary.isEmpty() ? QString()
                                : ConnectionStrings::build(connectSecurityInfo, cnUser, loginPassword,
                                                           Ending::Encrypt, cnInitialCatalog, secondary)};
}

// The server that answered first (1 the primary, 2 the secondary), once the
// user's own credentials are proved on it; 0 when none answered or the user
// was refused.
int provenWinner(const ServerStrings& strings, const QString& User, const QString& Password,
                 const QString& cnInitialCatalog, const QString& cnDataSource, const QString& secondary)
{
    const int winner = race(strings.master, strings.secondary);
    if (winner == 0)
        return 0;
    const QString server = winner == 1 ? cnDataSource : secondary;
    const bool proved =
        proveUser(ConnectionStrings::build(connectSecurityInfo, User, StringCipher::Decipher(Password),
                                           Ending::Encrypt, cnInitialCatalog, server));
    return proved ? winner : 0;
}

bool sqlConnect(const QString& User, const QString& Password, const QString& cnUser,
                const QString& cnPassword, const QString& cnInitialCatalog, const QString& cnDataSource,
                const QString& cnDataSourceSecondary, qint32 Flags)
{
    ConnectionState& c = Conn();
    if (Flags == 0)
        c.strDataServer = QStringLiteral("Fiscora");
    else if (Flags == 1)
        c.strDataServer = QStringLiteral("Sanovia");
    c.strSecurityInfo = connectSecurityInfo;
    c.strCnUser = cnUser;
    c.strCnPassword = cnPassword;
    c.strInitialCatalog = cnInitialCatalog;
    c.strDataSource = cnDataSource;
    c.strDataSourceSecondary = secondaryServer(cnDataSource, cnDataSourceSecondary);
    c.bUseSecondary = false;

    const ServerStrings built =
        serverStrings(cnUser, cnPassword, cnInitialCatalog, cnDataSource, c.strDataSourceSecondary);
    c.strSQLMasterConnString = StringCipher::Encipher(built.master);
    c.strSQLSecondaryConnString = StringCipher::Encipher(built.secondary);

    // Kept strings are deciphered each time one is handed to a connection.
    const ServerStrings kept{StringCipher::Decipher(c.strSQLMasterConnString),
                             built.secondary.isEmpty() ? QString()
                                                       : StringCipher::Decipher(c.strSQLSecondaryConnString)};
    const int winner =
        provenWinner(kept, User, Password, cnInitialCatalog, cnDataSource, c.strDataSourceSecondary);
    if (winner == 0)
        return false;

    c.bUseSecondary = winner == 2;
    c.strUser = User;
    c.strPassword = Password;
    openShared(
        StringCipher::Decipher(c.bUseSecondary ? c.strSQLSecondaryConnString : c.strSQLMasterConnString));
    c.bSQLConnected = true;
    return true;
}

bool openOwn(const QString& User, const QString& Password, const QString& cnUser, const QString& cnPassword,
             const QString& cnInitialCatalog, const QString& cnDataSource,
             const QString& cnDataSourceSecondary, ado::Connection& out)
{
    closeQuietly(out);
    const QString secondary = secondaryServer(cnDataSource, cnDataSourceSecondary);
    const ServerStrings strings =
        serverStrings(cnUser, cnPassword, cnInitialCatalog, cnDataSource, secondary);
    const int winner = provenWinner(strings, User, Password, cnInitialCatalog, cnDataSource, secondary);
    if (winner == 0)
        return false;
    out.Open(winner == 1 ? strings.master : strings.secondary);
    return true;
}

// The five stored values, in their order; false at the first missing one.
bool readStoredSettings(ConnectionState& c, const QString& productKey)
{
    QString* targets[] = {&c.strSecurityInfo, &c.strCnUser, &c.strCnPassword, &c.strInitialCatalog,
                          &c.strDataSource};
    const char* names[] = {"dtSecurityInfo", "dtUser", "dtPassword", "dtInitialCatalog", "dtDataSource"};
    for (int i = 0; i < 5; ++i) {
        const vb::Variant value = modRegistry::ObterValorString(productKey, QString::fromLatin1(names[i]));
        if (value.isNull())
            return false;
        *targets[i] = vb::CStr(value);
    }
    return true;
}

bool login(const QString& User, const QString& Password, const std::function<void()>& preloadCard)
{
    ConnectionState& c = Conn();
    const vb::Variant dataServer = modRegistry::ObterValorString(tlvKey, QStringLiteral("DataServer"));
    if (dataServer.isNull())
        return false;
    c.strDataServer = vb::CStr(dataServer);
    if (!readStoredSettings(c, QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\") + c.strDataServer))
        return false;

    ado::Connection probe;
    try {
        probe.Open(ConnectionStrings::build(c.strSecurityInfo, User, StringCipher::Decipher(Password),
                                            Ending::Plain, c.strInitialCatalog, c.strDataSource));
    } catch (const vb::Error&) {
        return false;
    }
    c.strUser = User;
    c.strPassword = Password;
    if (Data().SqlServer.State() != ado::adStateOpen) {
        const QString master =
            ConnectionStrings::build(c.strSecurityInfo, c.strCnUser, StringCipher::Decipher(c.strCnPassword),
                                     Ending::Plain, c.strInitialCatalog, c.strDataSource);
        c.strSQLMasterConnString = StringCipher::Encipher(master);
        openShared(StringCipher::Decipher(c.strSQLMasterConnString));
    }
    if (preloadCard)
        preloadCard();
    c.bSQLConnected = true;
    closeQuietly(probe);
    return true;
}

} // namespace

bool SQLConnect(const QString& User, const QString& Password, const QString& cnUser,
                const QString& cnPassword, const QString& cnInitialCatalog, const QString& cnDataSource,
                const QString& cnDataSourceSecondary, qint32 Flags)
{
    try {
        if (alreadyConnected())
            return true;
        return sqlConnect(User, Password, cnUser, cnPassword, cnInitialCatalog, cnDataSource,
                          cnDataSourceSecondary, Flags);
    } catch (const vb::Error& e) {
        ErrorReport::send(ErrorReport::Origin::SQLConnect, QStringLiteral("SQLConnect"), e);
    } catch (const std::exception& e) {
        ErrorReport::send(ErrorReport::Origin::SQLConnect, QStringLiteral("SQLConnect"), e);
    }
    return false;
}

bool OpenOwn(const QString& User, const QString& Password, const QString& cnUser, const QString& cnPassword,
             const QString& cnInitialCatalog, const QString& cnDataSource,
             const QString& cnDataSourceSecondary, ado::Connection& out)
{
    try {
        return openOwn(User, Password, cnUser, cnPassword, cnInitialCatalog, cnDataSource,
                       cnDataSourceSecondary, out);
    } catch (const vb::Error& e) {
        ErrorReport::send(ErrorReport::Origin::SQLConnect, QStringLiteral("SQLConnect"), e);
    } catch (const std::exception& e) {
        ErrorReport::send(ErrorReport::Origin::SQLConnect, QStringLiteral("SQLConnect"), e);
    }
    closeQuietly(out);
    return false;
}

bool Login(const QString& User, const QString& Password, const std::function<void()>& preloadCard)
{
    try {
        if (alreadyConnected())
            return true;
        return login(User, Password, preloadCard);
    } catch (const vb::Error& e) {
        ErrorReport::send(ErrorReport::Origin::General, QStringLiteral("Login"), e);
    } catch (const std::exception& e) {
        ErrorReport::send(ErrorReport::Origin::General, QStringLiteral("Login"), e);
    }
    return false;
}

} // namespace DatabaseConnection
