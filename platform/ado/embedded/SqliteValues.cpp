#include "platform/ado/embedded/SqliteValues.h"

#include "platform/ado/AdoConstants.h"
#include "platform/ado/AdoError.h"
#include "platform/dialect/SqlFunctions.h"
#include "platform/values/Conversions.h"
#include <QDateTime>
#include <QHash>
#include <limits>
#include <sqlite3.h>

namespace ado::embedded {

namespace {

int declaredType(const QString& declared)
{
    const QString type = declared.toUpper();
    if (type.startsWith(QStringLiteral("BIT")) || type.startsWith(QStringLiteral("BOOL")))
        return adBoolean;
    if (type.contains(QStringLiteral("DATE")) || type.contains(QStringLiteral("TIME")))
        return adDBTimeStamp;
    if (type.contains(QStringLiteral("MONEY")))
        return adCurrency;
    if (type.startsWith(QStringLiteral("SMALLINT")))
        return adSmallInt;
    if (type.startsWith(QStringLiteral("TINYINT")))
        return adUnsignedTinyInt;
    if (type.startsWith(QStringLiteral("BIGINT")))
        return adBigInt;
    if (type.contains(QStringLiteral("INT")))
        return adInteger;
    if (type.startsWith(QStringLiteral("FLOAT")) || type.startsWith(QStringLiteral("REAL")) ||
        type.startsWith(QStringLiteral("DOUBLE")))
        return adDouble;
    if (type.startsWith(QStringLiteral("DECIMAL")) || type.startsWith(QStringLiteral("NUMERIC")))
        return adNumeric;
    if (type.startsWith(QStringLiteral("NTEXT")) || type == QStringLiteral("TEXT"))
        return adLongVarWChar;
    if (type.startsWith(QStringLiteral("VARCHAR")) || type.startsWith(QStringLiteral("CHAR")))
        return adVarChar;
    if (type.contains(QStringLiteral("CHAR")) || type.contains(QStringLiteral("TEXT")))
        return adVarWChar;
    if (type.contains(QStringLiteral("BLOB")) || type.contains(QStringLiteral("BINARY")) ||
        type.startsWith(QStringLiteral("IMAGE")))
        return adLongVarBinary;
    return adEmpty;
}

int storedType(sqlite3_stmt* statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER: {
        const qint64 v = sqlite3_column_int64(statement, column);
        return v >= std::numeric_limits<qint32>::min() && v <= std::numeric_limits<qint32>::max() ? adInteger
                                                                                                  : adBigInt;
    }
    case SQLITE_FLOAT:
        return adDouble;
    case SQLITE_BLOB:
        return adLongVarBinary;
    default:
        return adVarWChar;
    }
}

QString columnText(sqlite3_stmt* statement, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(statement, column));
}

vb::Variant integerValue(qint64 v)
{
    if (v >= std::numeric_limits<qint32>::min() && v <= std::numeric_limits<qint32>::max())
        return vb::Variant(int(v));
    return vb::Variant(double(v));
}

vb::Variant dateValue(sqlite3_stmt* statement, int column)
{
    if (sqlite3_column_type(statement, column) != SQLITE_TEXT)
        return vb::Variant::fromDate(sqlite3_column_double(statement, column));
    double serial = 0;
    if (!parseDateText(columnText(statement, column), &serial))
        throw error::provider(
            QStringLiteral("O valor «%1» não é uma data válida.").arg(columnText(statement, column)));
    return vb::Variant::fromDate(serial);
}

} // namespace

// The same few declared types come back on every statement.
int cachedDeclaredType(const char* declared)
{
    thread_local QHash<QByteArray, int> known;
    const QByteArray key(declared);
    auto found = known.constFind(key);
    if (found != known.cend())
        return *found;
    const int type = declaredType(QString::fromUtf8(declared));
    known.insert(key, type);
    return type;
}

int columnType(sqlite3_stmt* statement, int column)
{
    const char* declared = sqlite3_column_decltype(statement, column);
    const int type = declared ? cachedDeclaredType(declared) : adEmpty;
    return type != adEmpty ? type : storedType(statement, column);
}

vb::Variant columnValue(sqlite3_stmt* statement, int column, int type)
{
    if (sqlite3_column_type(statement, column) == SQLITE_NULL)
        return vb::Variant::null();
    switch (type) {
    case adBoolean:
        return vb::Variant(sqlite3_column_int64(statement, column) != 0);
    case adDBTimeStamp:
        return dateValue(statement, column);
    case adCurrency:
        return vb::Variant(vb::Currency::fromDouble(sqlite3_column_double(statement, column)));
    case adSmallInt:
    case adUnsignedTinyInt:
        return vb::Variant(qint16(sqlite3_column_int(statement, column)));
    case adInteger:
    case adBigInt:
        if (sqlite3_column_type(statement, column) == SQLITE_INTEGER)
            return integerValue(sqlite3_column_int64(statement, column));
        return vb::Variant(sqlite3_column_double(statement, column));
    case adDouble:
    case adNumeric:
        return vb::Variant(sqlite3_column_double(statement, column));
    default:
        return vb::Variant(columnText(statement, column));
    }
}

void bindValue(sqlite3_stmt* statement, int index, const vb::Variant& value)
{
    int rc = SQLITE_OK;
    if (value.isNull() || value.isEmpty() || value.isMissing()) {
        rc = sqlite3_bind_null(statement, index);
    } else if (const bool* b = value.get<bool>()) {
        rc = sqlite3_bind_int(statement, index, *b ? 1 : 0);
    } else if (value.isDate()) {
        const QByteArray text = dateText(value.get<vb::Date>()->serial).toUtf8();
        rc = sqlite3_bind_text(statement, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    } else if (value.isString()) {
        const QByteArray text = value.get<QString>()->toUtf8();
        rc = sqlite3_bind_text(statement, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    } else if (const auto* i = value.get<qint16>()) {
        rc = sqlite3_bind_int(statement, index, *i);
    } else if (const auto* l = value.get<qint32>()) {
        rc = sqlite3_bind_int(statement, index, *l);
    } else if (value.isNumber()) {
        rc = sqlite3_bind_double(statement, index, vb::CDbl(value));
    } else {
        throw vb::Error::typeMismatch();
    }
    if (rc != SQLITE_OK)
        throw error::provider(QString::fromUtf8(sqlite3_errstr(rc)));
}

QString dateText(double serial)
{
    return vb::FromSerialToMillisecond(serial).toString(QString::fromLatin1(dialect::dateTimeFormat));
}

bool parseDateText(const QString& text, double* serial)
{
    static const char* const formats[] = {"yyyy-MM-dd hh:mm:ss.zzz", "yyyy-MM-dd hh:mm:ss",
                                          "yyyy-MM-dd hh:mm",        "yyyy-MM-ddThh:mm:ss.zzz",
                                          "yyyy-MM-ddThh:mm:ss",     "yyyy-MM-dd"};
    for (const char* format : formats) {
        const QDateTime moment = QDateTime::fromString(text, QString::fromLatin1(format));
        if (moment.isValid()) {
            *serial = vb::ToSerial(moment);
            return true;
        }
    }
    return false;
}

} // namespace ado::embedded
