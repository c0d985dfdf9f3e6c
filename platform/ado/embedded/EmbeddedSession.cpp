#include "platform/ado/embedded/EmbeddedSession.h"
#include "platform/ado/embedded/CatalogBuilder.h"

#include <QRegularExpression>

#include "platform/ado/AdoError.h"
#include "platform/ado/embedded/EmbeddedServer.h"
#include "platform/ado/embedded/SqliteDatabase.h"
#include "platform/ado/embedded/SqliteValues.h"
#include "platform/dialect/DialectError.h"
#include <QFile>
#include <QScopeGuard>
#include <chrono>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace ado::embedded {

namespace {

constexpr int maxTranslations = 256;
constexpr const char* schemaVersionQuery = "PRAGMA main.schema_version";
// SQLite's pragmas read as tables ("pragma_table_info"): no such thing on SQL Server.
constexpr const char* pragmaPrefix = "pragma_";
constexpr int pragmaPrefixLength = 7;
// The views that stand for SQL Server's INFORMATION_SCHEMA read the pragmas themselves.
constexpr const char* informationSchemaPrefix = "qv_information_schema_";
constexpr int informationSchemaPrefixLength = 22;

bool isInterrupt(sqlite3* db)
{
    return sqlite3_errcode(db) == SQLITE_INTERRUPT;
}

// Names and types; typed from the first row when the declared type does not tell.
QList<Column> describe(sqlite3_stmt* statement)
{
    QList<Column> columns;
    for (int i = 0; i < sqlite3_column_count(statement); ++i) {
        Column column;
        column.name = QString::fromUtf8(sqlite3_column_name(statement, i));
        column.type = columnType(statement, i);
        if (const char* table = sqlite3_column_table_name(statement, i))
            column.baseTable = QString::fromUtf8(table);
        if (const char* origin = sqlite3_column_origin_name(statement, i))
            column.baseColumn = QString::fromUtf8(origin);
        columns.append(column);
    }
    return columns;
}

} // namespace

EmbeddedSession::EmbeddedSession(const QString& folder, const QString& catalog)
    : folder_(folder), catalog_(catalog), serverName_(folder + u'/' + catalog),
      folderPath_(QFile::encodeName(folder)),
      folderHandle_(::open(folderPath_.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC)),
      database_(std::make_unique<SqliteDatabase>(EmbeddedServer::catalogPath(folder, catalog),
                                                 SqliteDatabase::ReadWrite)),
      statementLatency_(statementLatencyMarker)
{
    struct stat opened {};
    if (folderHandle_.fd >= 0 && ::fstat(folderHandle_.fd, &opened) == 0) {
        folderInode_ = opened.st_ino;
        folderDevice_ = opened.st_dev;
    }
    database_->exec("PRAGMA journal_mode=WAL");
    database_->exec("PRAGMA foreign_keys=ON");
    functions_.trancount = [this] { return transactions_; };
    dialect::registerFunctions(database_->get(), &functions_);
    reindexOlderCollation();
    addMissingList();
    sqlite3_progress_handler(database_->get(), 1000, &EmbeddedSession::progress, this);
    createInformationSchema();
    schemaVersion_ = std::make_unique<SqliteStatement>(database_->prepare(schemaVersionQuery));
    sqlite3_rollback_hook(
        database_->get(), [](void* self) { static_cast<EmbeddedSession*>(self)->widthChecksFor_ = -1; },
        this);
    refreshWidthChecks();
    sqlite3_set_authorizer(database_->get(), &EmbeddedSession::authorize, this);
}

// SQL Server's INFORMATION_SCHEMA.TABLES and COLUMNS, so that tools and
// scripts can look at the catalog the same way on both servers; computed
// columns are columns there too.
void EmbeddedSession::createInformationSchema()
{
    database_->exec("CREATE TEMP VIEW IF NOT EXISTS qv_information_schema_tables AS "
                    "SELECT 'Quarvenses' AS TABLE_CATALOG, 'dbo' AS TABLE_SCHEMA, name AS TABLE_NAME, "
                    "CASE type WHEN 'view' THEN 'VIEW' ELSE 'BASE TABLE' END AS TABLE_TYPE "
                    "FROM main.sqlite_master WHERE type IN ('table', 'view') AND name NOT LIKE 'sqlite%'");
    database_->exec("CREATE TEMP VIEW IF NOT EXISTS qv_information_schema_columns AS "
                    "SELECT 'dbo' AS TABLE_SCHEMA, m.name AS TABLE_NAME, p.name AS COLUMN_NAME, "
                    "p.cid + 1 AS ORDINAL_POSITION, p.dflt_value AS COLUMN_DEFAULT, "
                    "CASE p.\"notnull\" WHEN 0 THEN 'YES' ELSE 'NO' END AS IS_NULLABLE, "
                    "lower(p.type) AS DATA_TYPE "
                    "FROM main.sqlite_master m, pragma_table_xinfo(m.name) p "
                    "WHERE m.type IN ('table', 'view') AND m.name NOT LIKE 'sqlite%' AND p.hidden <> 1");
}

// SQL Server refuses a text longer than its NVARCHAR(n) column (Msg 2628)
// where SQLite would keep it: a check on each such column, for this session
// only (temporary triggers write nothing into the catalog).
void EmbeddedSession::createWidthChecks()
{
    static const QRegularExpression width(QStringLiteral("CHAR\\s*\\((\\d+)\\)"),
                                          QRegularExpression::CaseInsensitiveOption);
    SqliteStatement columns = database_->prepare(
        "SELECT m.name, p.name, p.type FROM main.sqlite_master m, pragma_table_info(m.name) p "
        "WHERE m.type = 'table' AND m.name NOT LIKE 'sqlite%' AND p.type LIKE '%CHAR%(%'");
    QByteArray script;
    while (columns.step()) {
        const QByteArray table = columns.columnBytes(0);
        const QByteArray column = columns.columnBytes(1);
        const QRegularExpressionMatch declared = width.match(QString::fromUtf8(columns.columnBytes(2)));
        if (!declared.hasMatch() || table.contains('"') || column.contains('"') || table.contains('\'') ||
            column.contains('\''))
            continue;
        const QByteArray limit = declared.captured(1).toUtf8();
        const QByteArray refusal = "SELECT RAISE(ABORT, '" + QByteArray(widthRefusalPrefix) + table +
                                   "», coluna «" + column + "».'); END;";
        const QByteArray name = "\"qv_largura_" + table + "_" + column;
        script += "CREATE TEMP TRIGGER IF NOT EXISTS " + name + "_i\" BEFORE INSERT ON main.\"" + table +
                  "\" WHEN length(NEW.\"" + column + "\") > " + limit + " BEGIN " + refusal;
        script += "CREATE TEMP TRIGGER IF NOT EXISTS " + name + "_u\" BEFORE UPDATE OF \"" + column +
                  "\" ON main.\"" + table + "\" WHEN length(NEW.\"" + column + "\") > " + limit + " BEGIN " +
                  refusal;
    }
    if (!script.isEmpty())
        database_->exec(script.constData());
}

void EmbeddedSession::refreshWidthChecks()
{
    schemaVersion_->reset();
    const qint64 version =
        schemaVersion_->step() ? QByteArray(schemaVersion_->columnBytes(0)).toLongLong() : -1;
    schemaVersion_->reset();
    if (version == widthChecksFor_)
        return;
    // The server's own reading of the catalog, not the caller's statement.
    const auto restore =
        qScopeGuard([this, wasGuarded = std::exchange(guarded_, false)] { guarded_ = wasGuarded; });
    createWidthChecks();
    widthChecksFor_ = version;
}

int EmbeddedSession::authorize(void* self, int action, const char* first, const char* second, const char*,
                               const char* view)
{
    auto* session = static_cast<EmbeddedSession*>(self);
    if (!session->guarded_ ||
        (view && qstrnicmp(view, informationSchemaPrefix, informationSchemaPrefixLength) == 0))
        return SQLITE_OK;
    switch (action) {
    case SQLITE_ATTACH:
        session->refused_ = QStringLiteral("ATTACH");
        return SQLITE_DENY;
    case SQLITE_DETACH:
        session->refused_ = QStringLiteral("DETACH");
        return SQLITE_DENY;
    case SQLITE_PRAGMA:
        // While running, the pragma functions the INFORMATION_SCHEMA views
        // read come this way; a PRAGMA of the caller's own shows up when the
        // statement is prepared.
        if (!session->preparing_)
            return SQLITE_OK;
        session->refused_ = QStringLiteral("PRAGMA ") + QString::fromUtf8(first ? first : "");
        return SQLITE_DENY;
    case SQLITE_READ:
        if (first && qstrnicmp(first, pragmaPrefix, pragmaPrefixLength) == 0) {
            session->refused_ = QString::fromUtf8(first);
            return SQLITE_DENY;
        }
        return SQLITE_OK;
    case SQLITE_FUNCTION:
        if (second && (qstricmp(second, "load_extension") == 0 ||
                       qstrnicmp(second, pragmaPrefix, pragmaPrefixLength) == 0)) {
            session->refused_ = QString::fromUtf8(second);
            return SQLITE_DENY;
        }
        return SQLITE_OK;
    default:
        return SQLITE_OK;
    }
}

EmbeddedSession::~EmbeddedSession()
{
    if (transactions_ > 0)
        sqlite3_exec(database_->get(), "ROLLBACK", nullptr, nullptr, nullptr);
}

EmbeddedSession::Descriptor::~Descriptor()
{
    if (fd >= 0)
        ::close(fd);
}

int EmbeddedSession::catalogVersion() const
{
    SqliteStatement statement = database_->prepare("PRAGMA user_version");
    return statement.step() ? QByteArray(statement.columnBytes(0)).toInt() : 0;
}

// Indexes on text columns hold the order of the collation they were built
// with; a catalog from before the current order would find rows in the wrong
// place, so it is reindexed once, by whichever session opens it first.
void EmbeddedSession::reindexOlderCollation()
{
    if (catalogVersion() >= dialect::collationVersion)
        return;
    database_->exec("BEGIN IMMEDIATE");
    try {
        if (catalogVersion() < dialect::collationVersion) {
            database_->exec("REINDEX QV_CI");
            database_->exec(QByteArray("PRAGMA user_version = ")
                                .append(QByteArray::number(dialect::collationVersion))
                                .constData());
        }
        database_->exec("COMMIT");
    } catch (const vb::Error&) {
        sqlite3_exec(database_->get(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

// A catalog made before the host's list (or the tables added since) gets it
// once, by whichever session opens it first; on a large catalog the list
// takes a while, once.
void EmbeddedSession::addMissingList()
{
    if (!lacksList(*database_) && !lacksLaterTables(*database_))
        return;
    database_->exec("BEGIN IMMEDIATE");
    try {
        if (lacksList(*database_))
            addList(*database_);
        if (lacksLaterTables(*database_))
            addLaterTables(*database_);
        database_->exec("COMMIT");
    } catch (const vb::Error&) {
        sqlite3_exec(database_->get(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

QString EmbeddedSession::serverName() const
{
    return serverName_;
}

// Runs before every statement: the folder must still be the one the session
// opened, at its path (not removed, moved away or replaced), and the pause
// marker is looked up through the folder's descriptor.
void EmbeddedSession::checkAvailable() const
{
    if (killed_)
        throw error::unreachable(folder_);
    struct stat folder {};
    if (folderHandle_.fd < 0 || ::stat(folderPath_.constData(), &folder) != 0 ||
        folder.st_ino != folderInode_ || folder.st_dev != folderDevice_ ||
        ::faccessat(folderHandle_.fd, "paused", F_OK, 0) == 0)
        throw error::unreachable(folder_);
}

EmbeddedSession::Request::Request(EmbeddedSession& session) : session_(session)
{
    if (session_.requestDepth_++ > 0)
        return;
    const int latency = session_.statementLatency_.milliseconds(session_.folderHandle_.fd);
    if (latency > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(latency));
}

void EmbeddedSession::countStatement()
{
    EmbeddedServer::FaultKind kind = EmbeddedServer::FaultKind::Fail;
    if (!EmbeddedServer::faultFires(kind))
        return;
    if (kind == EmbeddedServer::FaultKind::Kill) {
        if (transactions_ > 0)
            sqlite3_exec(database_->get(), "ROLLBACK", nullptr, nullptr, nullptr);
        transactions_ = 0;
        killed_ = true;
    }
    throw error::unreachable(folder_);
}

void EmbeddedSession::startClock(int commandTimeoutSeconds)
{
    deadlineMs_ = commandTimeoutSeconds > 0 ? qint64(commandTimeoutSeconds) * 1000 : 0;
    clock_.start();
}

int EmbeddedSession::progress(void* self)
{
    auto* session = static_cast<EmbeddedSession*>(self);
    return session->deadlineMs_ > 0 && session->clock_.elapsed() > session->deadlineMs_ ? 1 : 0;
}

const QList<dialect::Statement>& EmbeddedSession::translated(const QString& batch)
{
    auto found = translations_.constFind(batch);
    if (found != translations_.cend())
        return *found;
    if (translations_.size() >= maxTranslations)
        translations_.clear();
    return *translations_.insert(batch, dialect::translate(batch));
}

BatchResult EmbeddedSession::execute(const QString& batch, int commandTimeoutSeconds)
{
    const Request request(*this);
    checkAvailable();
    countStatement();
    startClock(commandTimeoutSeconds);
    const QList<dialect::Statement> statements = translated(batch);
    BatchResult result;
    const bool outer = !guarded_ && !inProcedure_;
    guarded_ = guarded_ || outer;
    try {
        for (const dialect::Statement& statement : statements)
            run(statement, result);
    } catch (...) {
        if (outer)
            guarded_ = false;
        throw;
    }
    if (outer)
        guarded_ = false;
    return result;
}

void EmbeddedSession::run(const dialect::Statement& statement, BatchResult& result)
{
    using Kind = dialect::Statement::Kind;
    switch (statement.kind) {
    case Kind::Sql:
        runSql(statement.sql, result);
        break;
    case Kind::Execute:
        runProcedure(statement, result);
        break;
    case Kind::BeginTransaction:
        beginTransaction();
        break;
    case Kind::CommitTransaction:
        commitTransaction();
        break;
    case Kind::RollbackTransaction:
        rollbackTransaction();
        break;
    case Kind::Nothing:
        break;
    }
}

void EmbeddedSession::runSql(const QString& sql, BatchResult& result)
{
    refused_.clear();
    std::optional<SqliteStatement> prepared;
    try {
        preparing_ = true;
        prepared.emplace(database_->prepare(sql.toUtf8()));
        preparing_ = false;
    } catch (const vb::Error&) {
        preparing_ = false;
        if (!refused_.isEmpty())
            throw dialect::unsupported(refused_);
        throw;
    }
    SqliteStatement& statement = *prepared;
    // Only a write meets the width checks; a read need not pay for looking.
    if (!sqlite3_stmt_readonly(statement.get()))
        refreshWidthChecks();
    const bool yieldsRows = sqlite3_column_count(statement.get()) > 0;
    try {
        if (yieldsRows) {
            result.rows = fetch(statement.get());
        } else {
            statement.stepToEnd();
            if (!sqlite3_stmt_readonly(statement.get()))
                result.recordsAffected = sqlite3_changes64(database_->get());
        }
    } catch (const vb::Error&) {
        if (isInterrupt(database_->get()))
            throw error::timeout();
        throw;
    }
}

ResultSet EmbeddedSession::fetch(sqlite3_stmt* statement)
{
    ResultSet rows;
    // The column count is read after the first step: a statement that another
    // connection's schema change re-prepares (a "SELECT *" after a column was
    // dropped) may come back with other columns than it was prepared with.
    int count = 0;
    bool typed = false;
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        if (!typed) {
            rows.columns = describe(statement);
            count = int(rows.columns.size());
            typed = true;
        }
        Row row;
        row.reserve(count);
        for (int i = 0; i < count; ++i)
            row.append(columnValue(statement, i, rows.columns[i].type));
        rows.rows.append(std::move(row));
    }
    if (rc != SQLITE_DONE)
        throw isInterrupt(database_->get()) ? error::timeout()
                                            : error::provider(SqliteDatabase::lastError(database_->get()));
    if (!typed) {
        // No row to look at: the declared types still tell.
        rows.columns = describe(statement);
    }
    return rows;
}

void EmbeddedSession::runProcedure(const dialect::Statement& statement, BatchResult& result)
{
    const Procedure procedure = EmbeddedServer::procedure(statement.procedure);
    if (!procedure)
        throw error::provider(QStringLiteral("Não foi possível encontrar o procedimento armazenado '%1'.")
                                  .arg(statement.procedure));
    // The server's own procedures use what its callers may not.
    inProcedure_ = true;
    const auto restore = qScopeGuard([this, wasGuarded = std::exchange(guarded_, false)] {
        guarded_ = wasGuarded;
        inProcedure_ = false;
    });
    std::optional<ResultSet> rows = procedure(*this, statement.arguments);
    if (rows)
        result.rows = std::move(rows);
}

qint64 EmbeddedSession::executeWith(const QString& statementText, const QList<vb::Variant>& values,
                                    int commandTimeoutSeconds)
{
    const Request request(*this);
    checkAvailable();
    countStatement();
    startClock(commandTimeoutSeconds);
    SqliteStatement statement = database_->prepare(statementText.toUtf8());
    if (!sqlite3_stmt_readonly(statement.get()))
        refreshWidthChecks();
    for (int i = 0; i < values.size(); ++i)
        bindValue(statement.get(), i + 1, values[i]);
    statement.stepToEnd();
    return sqlite3_changes64(database_->get());
}

QStringList EmbeddedSession::primaryKey(const QString& table)
{
    SqliteStatement statement =
        database_->prepare("SELECT name, pk FROM pragma_table_info(?1) WHERE pk > 0 ORDER BY pk");
    statement.bindText(1, table.toUtf8());
    QStringList key;
    while (statement.step())
        key.append(QString::fromUtf8(statement.columnBytes(0)));
    return key;
}

int EmbeddedSession::beginTransaction()
{
    const Request request(*this);
    checkAvailable();
    countStatement();
    if (transactions_ == 0)
        database_->exec("BEGIN IMMEDIATE");
    return ++transactions_;
}

void EmbeddedSession::commitTransaction()
{
    if (transactions_ == 0)
        throw error::noTransaction();
    const Request request(*this);
    checkAvailable();
    countStatement();
    if (transactions_ == 1)
        database_->exec("COMMIT");
    --transactions_;
}

void EmbeddedSession::rollbackTransaction()
{
    if (transactions_ == 0)
        throw error::provider(
            QStringLiteral("O pedido ROLLBACK TRANSACTION não tem um BEGIN TRANSACTION correspondente."));
    const Request request(*this);
    transactions_ = 0;
    database_->exec("ROLLBACK");
}

} // namespace ado::embedded
