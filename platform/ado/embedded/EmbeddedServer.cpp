#include "platform/ado/embedded/EmbeddedServer.h"

#include "platform/ado/AdoError.h"
#include "platform/ado/embedded/EmbeddedSession.h"
#include "platform/ado/embedded/SqliteDatabase.h"
#include "platform/ado/embedded/procedures/SchemaProcedures.h"
#include "platform/folders/PrivateFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QSaveFile>
#include <QThread>
#include <chrono>
#include <sodium.h>
#include <sqlite3.h>
#include <thread>
#include <unistd.h>

namespace ado::embedded {

namespace {

const char* const loginTable = "CREATE TABLE IF NOT EXISTS logins ("
                               "name TEXT PRIMARY KEY COLLATE NOCASE, password_hash TEXT NOT NULL)";

QString masterPath(const QString& folder)
{
    return folder + QStringLiteral("/master.db");
}

void ensureSodium()
{
    if (sodium_init() < 0)
        throw error::provider(QStringLiteral("Não foi possível iniciar a biblioteca criptográfica."));
}

QByteArray hashPassword(const QString& password, HashStrength strength)
{
    ensureSodium();
    const QByteArray plain = password.toUtf8();
    const bool minimal = strength == HashStrength::Minimal;
    char hashed[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hashed, plain.constData(), quint64(plain.size()),
                          minimal ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          minimal ? crypto_pwhash_MEMLIMIT_MIN : crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw error::provider(QStringLiteral("Memória insuficiente para calcular a senha."));
    return QByteArray(hashed);
}

int latencyOf(const QString& folder)
{
    QFile file(folder + QStringLiteral("/latency"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return qMax(0, file.readAll().trimmed().toInt());
}

// Waits out the server's latency; false when the timeout ran out first.
bool waitLatency(const QString& folder, int timeoutSeconds, const std::atomic_bool* cancelled)
{
    const int latency = latencyOf(folder);
    const int limit = timeoutSeconds > 0 ? timeoutSeconds * 1000 : latency;
    const int wait = qMin(latency, limit);
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(wait);
    while (std::chrono::steady_clock::now() < until) {
        if (cancelled && cancelled->load())
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return latency <= limit;
}

struct ProcedureTable {
    QMutex mutex;
    QHash<QString, Procedure> byName; // keys in lower case
};

// The server's procedures, registered once by the code that defines them.
ProcedureTable& procedures()
{
    static ProcedureTable table;
    return table;
}

} // namespace

bool EmbeddedServer::isEmbeddedSource(const QString& dataSource)
{
    return dataSource.startsWith(QStringLiteral("file:"), Qt::CaseInsensitive) ||
           (dataSource.startsWith(u'/') && !dataSource.startsWith(QStringLiteral("//")));
}

QString EmbeddedServer::folderOf(const QString& dataSource)
{
    QString folder = dataSource;
    if (folder.startsWith(QStringLiteral("file:"), Qt::CaseInsensitive)) {
        folder = folder.mid(5);
        if (folder.startsWith(QStringLiteral("//")))
            folder = folder.mid(2);
    }
    while (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    return folder;
}

QString EmbeddedServer::catalogPath(const QString& folder, const QString& catalog)
{
    return folder + u'/' + catalog + QStringLiteral(".db");
}

void EmbeddedServer::createServer(const QString& folder)
{
    // Catalogs and logins are for the server's owner only.
    if (!platform::makePrivateFolder(folder) || !platform::makePrivateFile(masterPath(folder)))
        throw error::provider(QStringLiteral("Não foi possível criar a pasta do servidor «") + folder +
                              QStringLiteral("»."));
    SqliteDatabase master(masterPath(folder), SqliteDatabase::Create);
    master.exec(loginTable);
}

void EmbeddedServer::createLogin(const QString& folder, const QString& login, const QString& password,
                                 HashStrength strength)
{
    createServer(folder);
    SqliteDatabase master(masterPath(folder), SqliteDatabase::Create);
    master.exec(loginTable);
    auto statement = master.prepare("INSERT INTO logins (name, password_hash) VALUES (?1, ?2) "
                                    "ON CONFLICT(name) DO UPDATE SET password_hash = excluded.password_hash");
    statement.bindText(1, login.toUtf8());
    statement.bindText(2, hashPassword(password, strength));
    statement.stepToEnd();
}

bool EmbeddedServer::verifyLogin(const QString& folder, const QString& login, const QString& password)
{
    if (!QFileInfo::exists(masterPath(folder)))
        return false;
    ensureSodium();
    SqliteDatabase master(masterPath(folder), SqliteDatabase::ReadOnly);
    auto statement = master.prepare("SELECT password_hash FROM logins WHERE name = ?1");
    statement.bindText(1, login.toUtf8());
    const QByteArray plain = password.toUtf8();
    if (!statement.step()) {
        // An unknown login costs what a wrong password costs, so that the
        // time of the answer does not tell which logins exist: the password
        // is checked against another login's hash and the answer dropped.
        auto any = master.prepare("SELECT password_hash FROM logins ORDER BY name LIMIT 1");
        if (any.step()) {
            const QByteArray other = any.columnBytes(0);
            const int ignored =
                crypto_pwhash_str_verify(other.constData(), plain.constData(), quint64(plain.size()));
            Q_UNUSED(ignored);
        }
        return false;
    }
    const QByteArray hashed = statement.columnBytes(0);
    return crypto_pwhash_str_verify(hashed.constData(), plain.constData(), quint64(plain.size())) == 0;
}

void EmbeddedServer::createCatalog(const QString& folder, const QString& catalog)
{
    createServer(folder);
    // SQLite gives the journal files the catalog's own mode.
    if (!platform::makePrivateFile(catalogPath(folder, catalog)))
        throw error::provider(QStringLiteral("Não foi possível criar o catálogo «") + catalog +
                              QStringLiteral("»."));
    SqliteDatabase database(catalogPath(folder, catalog), SqliteDatabase::Create);
    database.exec("PRAGMA journal_mode=WAL");
}

void EmbeddedServer::checkAvailable(const QString& folder)
{
    if (::access(QFile::encodeName(folder).constData(), F_OK) != 0 ||
        ::access(QFile::encodeName(folder + QStringLiteral("/paused")).constData(), F_OK) == 0)
        throw error::unreachable(folder);
}

void EmbeddedServer::setPaused(const QString& folder, bool paused)
{
    const QString marker = folder + QStringLiteral("/paused");
    if (!paused) {
        QFile::remove(marker);
        return;
    }
    QFile file(marker);
    if (!file.open(QIODevice::WriteOnly))
        throw error::provider(QStringLiteral("Não foi possível suspender o servidor «%1».").arg(folder));
}

void EmbeddedServer::setLatency(const QString& folder, int milliseconds)
{
    const QString marker = folder + QStringLiteral("/latency");
    if (milliseconds <= 0) {
        QFile::remove(marker);
        return;
    }
    QFile file(marker);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(QByteArray::number(milliseconds)) < 0)
        throw error::provider(QStringLiteral("Não foi possível atrasar o servidor «%1».").arg(folder));
}

// Replaced whole (a new file renamed over the old), so that a session never
// reads half a number and always sees the change.
void EmbeddedServer::setStatementLatency(const QString& folder, int milliseconds)
{
    const QString marker = folder + u'/' + QString::fromLatin1(statementLatencyMarker);
    if (milliseconds <= 0) {
        QFile::remove(marker);
        return;
    }
    QSaveFile file(marker);
    if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray::number(milliseconds)) < 0 ||
        !file.commit())
        throw error::provider(
            QStringLiteral("Não foi possível atrasar as instruções do servidor «%1».").arg(folder));
}

std::unique_ptr<Session> EmbeddedServer::connect(const ConnectionString& connection, int timeoutSeconds,
                                                 const std::atomic_bool* cancelled)
{
    registerSchemaProcedures();
    const QString folder = folderOf(connection.dataSource());
    checkAvailable(folder);
    if (!waitLatency(folder, timeoutSeconds, cancelled))
        throw error::timeout();
    checkAvailable(folder);
    const QString catalog = connection.initialCatalog();
    if (catalog.isEmpty() || !QFileInfo::exists(catalogPath(folder, catalog)))
        throw error::catalogRefused(catalog);
    if (!verifyLogin(folder, connection.userId(), connection.password()))
        throw error::loginFailed(connection.userId());
    return std::make_unique<EmbeddedSession>(folder, catalog);
}

void EmbeddedServer::registerProcedure(const QString& name, Procedure procedure)
{
    QMutexLocker lock(&procedures().mutex);
    procedures().byName.insert(name.toLower(), std::move(procedure));
}

Procedure EmbeddedServer::procedure(const QString& name)
{
    QMutexLocker lock(&procedures().mutex);
    return procedures().byName.value(name.toLower());
}

namespace {

struct FaultPlan {
    std::atomic<int> at{0}; // 0: not armed
    std::atomic<int> counted{0};
    std::atomic<int> kind{0};
};

FaultPlan& faultPlan()
{
    static FaultPlan plan;
    return plan;
}

} // namespace

void EmbeddedServer::armFault(int atStatement, FaultKind kind)
{
    faultPlan().counted = 0;
    faultPlan().kind = int(kind);
    faultPlan().at = atStatement;
}

void EmbeddedServer::disarmFault()
{
    faultPlan().at = 0;
    faultPlan().counted = 0;
}

int EmbeddedServer::statementsSinceArmed()
{
    return faultPlan().counted;
}

bool EmbeddedServer::faultFires(FaultKind& kind)
{
    FaultPlan& plan = faultPlan();
    if (plan.at.load() == 0)
        return false;
    const int n = ++plan.counted;
    kind = FaultKind(plan.kind.load());
    return n == plan.at.load();
}

} // namespace ado::embedded
