#include "platform/ado/odbc/OdbcSession.h"

#include "platform/ado/AdoConstants.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/odbc/OdbcConnectionString.h"
#include "platform/values/Conversions.h"

#include <QDateTime>
#include <sql.h>
#include <sqlext.h>
#include <vector>

namespace ado::odbc {

namespace {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "unixODBC's wide characters are UTF-16");

QString fromWide(const SQLWCHAR* text, qsizetype length)
{
    return QString(reinterpret_cast<const QChar*>(text), length);
}

const SQLWCHAR* wide(const QString& text)
{
    return reinterpret_cast<const SQLWCHAR*>(text.utf16());
}

const char16_t sessionOptions[] =
    u"SET QUOTED_IDENTIFIER ON; SET ANSI_NULLS ON; SET ANSI_WARNINGS ON; SET ANSI_PADDING ON; "
    u"SET CONCAT_NULL_YIELDS_NULL ON; SET ARITHABORT ON";

// The provider's error for the last failure on a handle, by SQLSTATE, with
// the server's own number and every diagnostic record whole (a message
// longer than the buffer is read again at its full length).
vb::Error diagnostic(SQLSMALLINT type, SQLHANDLE handle, const QString& server)
{
    QString text;
    QString sqlState;
    SQLINTEGER firstNative = 0;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        std::vector<SQLWCHAR> message(1024);
        SQLRETURN rc = SQLGetDiagRecW(type, handle, record, state, &native, message.data(),
                                      SQLSMALLINT(message.size()), &length);
        if (rc == SQL_SUCCESS_WITH_INFO && length >= SQLSMALLINT(message.size())) {
            message.resize(size_t(length) + 1);
            rc = SQLGetDiagRecW(type, handle, record, state, &native, message.data(),
                                SQLSMALLINT(message.size()), &length);
        }
        if (!SQL_SUCCEEDED(rc))
            break;
        if (record == 1) {
            sqlState = fromWide(state, 5);
            firstNative = native;
        }
        if (!text.isEmpty())
            text += u' ';
        text += fromWide(message.data(), qMin<qsizetype>(length, qsizetype(message.size()) - 1));
    }
    if (sqlState == QLatin1String("28000"))
        return vb::Error(error::LoginFailed, text, QStringLiteral("Microsoft OLE DB Provider for SQL Server"))
            .setNativeError(firstNative);
    if (sqlState.startsWith(QLatin1String("08")))
        return error::unreachable(server).setNativeError(firstNative);
    if (sqlState == QLatin1String("HYT00") || sqlState == QLatin1String("HYT01"))
        return error::timeout().setNativeError(firstNative);
    return error::provider(text.isEmpty() ? QStringLiteral("Erro do fornecedor ODBC (%1).").arg(sqlState)
                                          : text)
        .setNativeError(firstNative);
}

struct Statement {
    SQLHSTMT handle = SQL_NULL_HSTMT;
    ~Statement()
    {
        if (handle != SQL_NULL_HSTMT)
            SQLFreeHandle(SQL_HANDLE_STMT, handle);
    }
};

int adoType(SQLSMALLINT odbcType, SQLSMALLINT scale, const QString& typeName)
{
    const QString name = typeName.toLower();
    if (name.contains(QStringLiteral("money")))
        return adCurrency;
    if (name == QLatin1String("bit") || odbcType == SQL_BIT)
        return adBoolean;
    if (name.contains(QStringLiteral("date")) || name.contains(QStringLiteral("time")))
        return adDBTimeStamp;
    switch (odbcType) {
    case SQL_INTEGER:
        return adInteger;
    case SQL_SMALLINT:
        return adSmallInt;
    case SQL_TINYINT:
        return adUnsignedTinyInt;
    case SQL_BIGINT:
        return adBigInt;
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
        return adDouble;
    case SQL_NUMERIC:
    case SQL_DECIMAL:
        return scale == 4 ? adCurrency : adNumeric;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TYPE_DATE:
    case SQL_TIMESTAMP:
    case SQL_DATE:
        return adDBTimeStamp;
    case SQL_CHAR:
    case SQL_VARCHAR:
        return adVarChar;
    case SQL_LONGVARCHAR:
        return adLongVarChar;
    case SQL_WLONGVARCHAR:
        return adLongVarWChar;
    default:
        return adVarWChar;
    }
}

QString attributeText(SQLHSTMT statement, SQLUSMALLINT column, SQLUSMALLINT field)
{
    SQLWCHAR text[256] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLColAttributeW(statement, column, field, text, sizeof(text), &length, nullptr)))
        return {};
    return fromWide(text, qMin<qsizetype>(length / qsizetype(sizeof(SQLWCHAR)), 255));
}

vb::Variant readText(SQLHSTMT statement, SQLUSMALLINT column)
{
    QString text;
    SQLWCHAR chunk[1024];
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN rc = SQLGetData(statement, column, SQL_C_WCHAR, chunk, sizeof(chunk), &indicator);
        if (rc == SQL_NO_DATA)
            break;
        if (!SQL_SUCCEEDED(rc))
            throw error::provider(QStringLiteral("Não foi possível ler a coluna %1.").arg(column));
        if (indicator == SQL_NULL_DATA)
            return vb::Variant::null();
        const qsizetype room = qsizetype(std::size(chunk)) - 1;
        const qsizetype got = indicator == SQL_NO_TOTAL || indicator / qsizetype(sizeof(SQLWCHAR)) > room
                                  ? room
                                  : indicator / qsizetype(sizeof(SQLWCHAR));
        text += fromWide(chunk, got);
        if (rc == SQL_SUCCESS)
            break;
    }
    return vb::Variant(text);
}

// A value the driver could not give is a failure, never a zero.
void checked(SQLRETURN rc, SQLHSTMT statement)
{
    if (!SQL_SUCCEEDED(rc))
        throw diagnostic(SQL_HANDLE_STMT, statement, QString());
}

vb::Variant readValue(SQLHSTMT statement, SQLUSMALLINT column, int type)
{
    SQLLEN indicator = 0;
    switch (type) {
    case adBoolean: {
        unsigned char bit = 0;
        checked(SQLGetData(statement, column, SQL_C_BIT, &bit, 0, &indicator), statement);
        return indicator == SQL_NULL_DATA ? vb::Variant::null() : vb::Variant(bit != 0);
    }
    case adInteger:
    case adSmallInt:
    case adUnsignedTinyInt:
    case adBigInt: {
        SQLBIGINT whole = 0;
        checked(SQLGetData(statement, column, SQL_C_SBIGINT, &whole, 0, &indicator), statement);
        if (indicator == SQL_NULL_DATA)
            return vb::Variant::null();
        if (type == adSmallInt || type == adUnsignedTinyInt)
            return vb::Variant(qint16(whole));
        if (whole >= std::numeric_limits<qint32>::min() && whole <= std::numeric_limits<qint32>::max())
            return vb::Variant(int(whole));
        return vb::Variant(double(whole));
    }
    case adDouble:
    case adNumeric:
    case adCurrency: {
        double real = 0;
        checked(SQLGetData(statement, column, SQL_C_DOUBLE, &real, 0, &indicator), statement);
        if (indicator == SQL_NULL_DATA)
            return vb::Variant::null();
        return type == adCurrency ? vb::Variant(vb::Currency::fromDouble(real)) : vb::Variant(real);
    }
    case adDBTimeStamp: {
        SQL_TIMESTAMP_STRUCT t = {};
        if (!SQL_SUCCEEDED(SQLGetData(statement, column, SQL_C_TYPE_TIMESTAMP, &t, sizeof(t), &indicator)))
            throw error::provider(QStringLiteral("A coluna %1 não tem uma data válida.").arg(column));
        if (indicator == SQL_NULL_DATA)
            return vb::Variant::null();
        const QDateTime moment(QDate(t.year, t.month, t.day),
                               QTime(t.hour, t.minute, t.second, int(t.fraction / 1000000)));
        return vb::Variant::fromDate(vb::ToSerial(moment));
    }
    default:
        return readText(statement, column);
    }
}

ResultSet fetchAll(SQLHSTMT statement, SQLSMALLINT columns)
{
    ResultSet rows;
    for (SQLUSMALLINT c = 1; c <= SQLUSMALLINT(columns); ++c) {
        SQLWCHAR name[256] = {};
        SQLSMALLINT nameLength = 0, dataType = 0, scale = 0, nullable = 0;
        SQLULEN size = 0;
        SQLDescribeColW(statement, c, name, SQLSMALLINT(std::size(name)), &nameLength, &dataType, &size,
                        &scale, &nullable);
        Column column;
        column.name = fromWide(name, qMin<qsizetype>(nameLength, 255));
        column.type = adoType(dataType, scale, attributeText(statement, c, SQL_DESC_TYPE_NAME));
        column.baseTable = attributeText(statement, c, SQL_DESC_BASE_TABLE_NAME);
        if (column.baseTable.isEmpty())
            column.baseTable = attributeText(statement, c, SQL_DESC_TABLE_NAME);
        column.baseColumn = attributeText(statement, c, SQL_DESC_BASE_COLUMN_NAME);
        rows.columns.append(column);
    }
    SQLRETURN rc;
    while (SQL_SUCCEEDED(rc = SQLFetch(statement))) {
        Row row;
        for (SQLUSMALLINT c = 1; c <= SQLUSMALLINT(columns); ++c)
            row.append(readValue(statement, c, rows.columns[c - 1].type));
        rows.rows.append(std::move(row));
    }
    // A fetch that failed half-way is a failure, not a shorter result.
    if (rc != SQL_NO_DATA)
        throw diagnostic(SQL_HANDLE_STMT, statement, QString());
    return rows;
}

// Values bound to "?" markers stay alive until the statement has run.
struct Bindings {
    QList<QString> texts;
    QList<SQLBIGINT> wholes;
    QList<double> reals;
    QList<unsigned char> bits;
    QList<SQL_TIMESTAMP_STRUCT> stamps;
    QList<SQLLEN> lengths;
};

void bind(SQLHSTMT statement, SQLUSMALLINT index, const vb::Variant& v, Bindings& b)
{
    b.lengths.append(0);
    SQLLEN* length = &b.lengths.last();
    SQLRETURN rc;
    if (v.isNull() || v.isEmpty() || v.isMissing()) {
        *length = SQL_NULL_DATA;
        rc = SQLBindParameter(statement, index, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, 1, 0, nullptr, 0,
                              length);
    } else if (const bool* flag = v.get<bool>()) {
        b.bits.append(*flag ? 1 : 0);
        rc = SQLBindParameter(statement, index, SQL_PARAM_INPUT, SQL_C_BIT, SQL_BIT, 1, 0, &b.bits.last(), 0,
                              length);
    } else if (v.isDate()) {
        const QDateTime m = vb::FromSerialToMillisecond(v.get<vb::Date>()->serial);
        SQL_TIMESTAMP_STRUCT t = {};
        t.year = SQLSMALLINT(m.date().year());
        t.month = SQLUSMALLINT(m.date().month());
        t.day = SQLUSMALLINT(m.date().day());
        t.hour = SQLUSMALLINT(m.time().hour());
        t.minute = SQLUSMALLINT(m.time().minute());
        t.second = SQLUSMALLINT(m.time().second());
        t.fraction =
            SQLUINTEGER(m.time().msec()) * 1000000U; // nanoseconds, to the millisecond DATETIME keeps
        b.stamps.append(t);
        rc = SQLBindParameter(statement, index, SQL_PARAM_INPUT, SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP, 23,
                              3, &b.stamps.last(), 0, length);
    } else if (v.isString()) {
        b.texts.append(*v.get<QString>());
        const QString& text = b.texts.last();
        *length = SQLLEN(text.size() * qsizetype(sizeof(SQLWCHAR)));
        rc = SQLBindParameter(statement, index, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR,
                              SQLULEN(qMax<qsizetype>(1, text.size())), 0, const_cast<SQLWCHAR*>(wide(text)),
                              *length, length);
    } else if (v.get<qint16>() || v.get<qint32>()) {
        b.wholes.append(vb::CLng(v));
        rc = SQLBindParameter(statement, index, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0,
                              &b.wholes.last(), 0, length);
    } else {
        b.reals.append(vb::CDbl(v));
        rc = SQLBindParameter(statement, index, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 0, 0,
                              &b.reals.last(), 0, length);
    }
    if (!SQL_SUCCEEDED(rc))
        throw diagnostic(SQL_HANDLE_STMT, statement, {});
}

} // namespace

struct OdbcSession::Handles {
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    bool connected = false;
    ~Handles()
    {
        if (connected)
            SQLDisconnect(dbc);
        if (dbc != SQL_NULL_HDBC)
            SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        if (env != SQL_NULL_HENV)
            SQLFreeHandle(SQL_HANDLE_ENV, env);
    }
    Statement statement(const QString& server) const
    {
        Statement s;
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &s.handle)))
            throw diagnostic(SQL_HANDLE_DBC, dbc, server);
        return s;
    }
};

std::unique_ptr<Session> OdbcSession::connect(const ConnectionString& connection, int timeoutSeconds)
{
    std::unique_ptr<OdbcSession> session(new OdbcSession);
    session->server_ = QStringLiteral("odbc:") + connection.dataSource().section(u';', 0, 1);
    session->h_ = std::make_unique<Handles>();
    Handles& h = *session->h_;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &h.env)) ||
        !SQL_SUCCEEDED(
            SQLSetEnvAttr(h.env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0)) ||
        !SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, h.env, &h.dbc)))
        throw error::provider(QStringLiteral("Não foi possível iniciar o gestor de controladores ODBC."));
    if (timeoutSeconds > 0)
        SQLSetConnectAttr(h.dbc, SQL_ATTR_LOGIN_TIMEOUT,
                          reinterpret_cast<SQLPOINTER>(SQLULEN(timeoutSeconds)), 0);
    const QString text = odbcConnectionString(connection);
    SQLWCHAR out[1024];
    SQLSMALLINT outLength = 0;
    const SQLRETURN rc =
        SQLDriverConnectW(h.dbc, nullptr, const_cast<SQLWCHAR*>(wide(text)), SQLSMALLINT(text.size()), out,
                          SQLSMALLINT(std::size(out)), &outLength, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc))
        throw diagnostic(SQL_HANDLE_DBC, h.dbc, connection.dataSource());
    h.connected = true;
    session->setServerOptions();
    return session;
}

// The options a site's SQL Server expects of every session, whatever the
// driver's defaults: bracketed and quoted names, NULL compared as the
// standard says, text joined to NULL gives NULL, no silent truncation.
// Other ODBC databases (the tests' SQLite driver) are left as they are.
void OdbcSession::setServerOptions()
{
    SQLWCHAR name[128] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetInfoW(h_->dbc, SQL_DBMS_NAME, name, sizeof(name), &length)) ||
        !fromWide(name, qMin<qsizetype>(length / qsizetype(sizeof(SQLWCHAR)), 127))
             .contains(QLatin1String("SQL Server"), Qt::CaseInsensitive))
        return;
    execute(QString::fromUtf16(sessionOptions), 0);
}

OdbcSession::~OdbcSession()
{
    if (transactions_ > 0 && h_)
        SQLEndTran(SQL_HANDLE_DBC, h_->dbc, SQL_ROLLBACK);
}

BatchResult OdbcSession::execute(const QString& batch, int commandTimeoutSeconds)
{
    Statement s = h_->statement(server_);
    if (commandTimeoutSeconds > 0)
        SQLSetStmtAttr(s.handle, SQL_ATTR_QUERY_TIMEOUT,
                       reinterpret_cast<SQLPOINTER>(SQLULEN(commandTimeoutSeconds)), 0);
    SQLRETURN rc = SQLExecDirectW(s.handle, const_cast<SQLWCHAR*>(wide(batch)), SQLINTEGER(batch.size()));
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA)
        throw diagnostic(SQL_HANDLE_STMT, s.handle, server_);
    BatchResult result;
    // Walk every result of the batch: the last one with columns is kept,
    // row counts in between are noted.
    do {
        SQLSMALLINT columns = 0;
        SQLNumResultCols(s.handle, &columns);
        if (columns > 0) {
            result.rows = fetchAll(s.handle, columns);
        } else {
            SQLLEN count = -1;
            if (SQL_SUCCEEDED(SQLRowCount(s.handle, &count)) && count >= 0)
                result.recordsAffected = count;
        }
        rc = SQLMoreResults(s.handle);
        if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA)
            throw diagnostic(SQL_HANDLE_STMT, s.handle, server_);
    } while (SQL_SUCCEEDED(rc));
    return result;
}

qint64 OdbcSession::executeWith(const QString& text, const QList<vb::Variant>& values,
                                int commandTimeoutSeconds)
{
    Statement s = h_->statement(server_);
    if (commandTimeoutSeconds > 0)
        SQLSetStmtAttr(s.handle, SQL_ATTR_QUERY_TIMEOUT,
                       reinterpret_cast<SQLPOINTER>(SQLULEN(commandTimeoutSeconds)), 0);
    if (!SQL_SUCCEEDED(SQLPrepareW(s.handle, const_cast<SQLWCHAR*>(wide(text)), SQLINTEGER(text.size()))))
        throw diagnostic(SQL_HANDLE_STMT, s.handle, server_);
    Bindings b;
    b.texts.reserve(values.size());
    b.wholes.reserve(values.size());
    b.reals.reserve(values.size());
    b.bits.reserve(values.size());
    b.stamps.reserve(values.size());
    b.lengths.reserve(values.size());
    for (int i = 0; i < values.size(); ++i)
        bind(s.handle, SQLUSMALLINT(i + 1), values[i], b);
    const SQLRETURN rc = SQLExecute(s.handle);
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA)
        throw diagnostic(SQL_HANDLE_STMT, s.handle, server_);
    SQLLEN count = 0;
    SQLRowCount(s.handle, &count);
    return count;
}

QStringList OdbcSession::primaryKey(const QString& table)
{
    Statement s = h_->statement(server_);
    if (!SQL_SUCCEEDED(SQLPrimaryKeysW(s.handle, nullptr, 0, nullptr, 0, const_cast<SQLWCHAR*>(wide(table)),
                                       SQLSMALLINT(table.size()))))
        return {};
    QList<std::pair<int, QString>> columns;
    while (SQL_SUCCEEDED(SQLFetch(s.handle))) {
        const vb::Variant name = readText(s.handle, 4);
        SQLSMALLINT sequence = 0;
        SQLLEN indicator = 0;
        SQLGetData(s.handle, 5, SQL_C_SSHORT, &sequence, 0, &indicator);
        if (!name.isNull())
            columns.append({sequence, vb::CStr(name)});
    }
    std::sort(columns.begin(), columns.end());
    QStringList key;
    for (const auto& c : columns)
        key.append(c.second);
    return key;
}

int OdbcSession::beginTransaction()
{
    if (transactions_ == 0 &&
        !SQL_SUCCEEDED(SQLSetConnectAttr(h_->dbc, SQL_ATTR_AUTOCOMMIT,
                                         reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0)))
        throw diagnostic(SQL_HANDLE_DBC, h_->dbc, server_);
    return ++transactions_;
}

void OdbcSession::commitTransaction()
{
    if (transactions_ == 0)
        throw error::noTransaction();
    if (transactions_ == 1) {
        if (!SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, h_->dbc, SQL_COMMIT)))
            throw diagnostic(SQL_HANDLE_DBC, h_->dbc, server_);
        SQLSetConnectAttr(h_->dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
    }
    --transactions_;
}

void OdbcSession::rollbackTransaction()
{
    if (transactions_ == 0)
        throw error::provider(
            QStringLiteral("O pedido ROLLBACK TRANSACTION não tem um BEGIN TRANSACTION correspondente."));
    transactions_ = 0;
    const SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, h_->dbc, SQL_ROLLBACK);
    SQLSetConnectAttr(h_->dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
    if (!SQL_SUCCEEDED(rc))
        throw diagnostic(SQL_HANDLE_DBC, h_->dbc, server_);
}

} // namespace ado::odbc
