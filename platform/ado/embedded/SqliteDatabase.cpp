#include "platform/ado/embedded/SqliteDatabase.h"

#include "platform/ado/AdoError.h"
#include <QFile>
#include <sqlite3.h>

namespace ado::embedded {

namespace {

constexpr int busyTimeoutMs = 10000;

} // namespace

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : db_(other.db_), statement_(other.statement_)
{
    other.statement_ = nullptr;
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(statement_);
}

void SqliteStatement::bindText(int index, const QByteArray& utf8)
{
    if (sqlite3_bind_text(statement_, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT) !=
        SQLITE_OK)
        throw error::provider(SqliteDatabase::lastError(db_));
}

void SqliteStatement::bindInt(int index, qint64 value)
{
    if (sqlite3_bind_int64(statement_, index, value) != SQLITE_OK)
        throw error::provider(SqliteDatabase::lastError(db_));
}

void SqliteStatement::bindDouble(int index, double value)
{
    if (sqlite3_bind_double(statement_, index, value) != SQLITE_OK)
        throw error::provider(SqliteDatabase::lastError(db_));
}

void SqliteStatement::bindNull(int index)
{
    if (sqlite3_bind_null(statement_, index) != SQLITE_OK)
        throw error::provider(SqliteDatabase::lastError(db_));
}

// The answer of reset repeats the last step's failure, already reported.
void SqliteStatement::reset()
{
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

bool SqliteStatement::step()
{
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    vb::Error failure = error::provider(SqliteDatabase::lastError(db_));
    if (failure.description().startsWith(QString::fromUtf8(widthRefusalPrefix)))
        failure.setNativeError(widthRefusalNumber);
    throw failure;
}

void SqliteStatement::stepToEnd()
{
    while (step()) {
    }
}

QByteArray SqliteStatement::columnBytes(int column) const
{
    const auto* data = static_cast<const char*>(sqlite3_column_blob(statement_, column));
    return QByteArray(data, sqlite3_column_bytes(statement_, column));
}

SqliteDatabase::SqliteDatabase(const QString& path, Mode mode)
{
    int flags = SQLITE_OPEN_FULLMUTEX;
    flags |= mode == ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (mode == Create)
        flags |= SQLITE_OPEN_CREATE;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, flags, nullptr) != SQLITE_OK) {
        const QString text = lastError(db_);
        sqlite3_close(db_);
        db_ = nullptr;
        throw error::provider(text);
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, busyTimeoutMs);
    // A name in double quotes is a name, as on SQL Server: a misspelled
    // column fails instead of being taken for a text. Nothing is attached.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
    sqlite3_limit(db_, SQLITE_LIMIT_ATTACHED, 0);
}

SqliteDatabase::~SqliteDatabase()
{
    sqlite3_close_v2(db_);
}

void SqliteDatabase::exec(const char* sql)
{
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw error::provider(lastError(db_));
}

SqliteStatement SqliteDatabase::prepare(const char* sql)
{
    return prepare(QByteArray(sql));
}

SqliteStatement SqliteDatabase::prepare(const QByteArray& utf8)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, utf8.constData(), int(utf8.size()), &statement, nullptr) != SQLITE_OK)
        throw error::provider(lastError(db_));
    return SqliteStatement(db_, statement);
}

// Faults of the file under the catalog are told in the user's words; a
// statement's own faults keep the engine's text, which names the statement.
QString SqliteDatabase::lastError(sqlite3* db)
{
    if (!db)
        return QStringLiteral("Memória insuficiente.");
    constexpr int primaryCode = 0xff;
    const char* file = sqlite3_db_filename(db, "main");
    const QString where =
        file && *file ? QStringLiteral(" («") + QFile::decodeName(file) + QStringLiteral("»)") : QString();
    switch (sqlite3_errcode(db) & primaryCode) {
    case SQLITE_READONLY:
        return QStringLiteral("A base de dados só pode ser lida") + where +
               QStringLiteral(": o ficheiro ou a sua pasta não permitem escrever.");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("A base de dados está ocupada por outro programa") + where + u'.';
    case SQLITE_FULL:
        return QStringLiteral("O disco da base de dados está cheio") + where + u'.';
    case SQLITE_CANTOPEN:
        return QStringLiteral("Não foi possível abrir o ficheiro da base de dados") + where + u'.';
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return QStringLiteral("O ficheiro da base de dados está danificado") + where + u'.';
    case SQLITE_IOERR:
        return QStringLiteral("Erro de leitura ou escrita no ficheiro da base de dados") + where + u'.';
    default:
        return QString::fromUtf8(sqlite3_errmsg(db));
    }
}

} // namespace ado::embedded
