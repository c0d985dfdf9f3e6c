#include "platform/dialect/SqlFunctions.h"

#include "platform/dialect/LikePattern.h"
#include "platform/dialect/PortugueseOrder.h"

#include <QDateTime>
#include <QRegularExpression>
#include <sqlite3.h>

namespace dialect {

namespace {

QString textOf(sqlite3_value* v)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
}

void resultText(sqlite3_context* ctx, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    sqlite3_result_text(ctx, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
}

void resultError(sqlite3_context* ctx, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    sqlite3_result_error(ctx, bytes.constData(), int(bytes.size()));
}

bool isNumber(int type)
{
    return type == SQLITE_INTEGER || type == SQLITE_FLOAT;
}

// A text used as a number, as SQL Server converts it: whole or decimal.
bool numberFromText(const QString& text, sqlite3_int64* whole, double* real, bool* isWhole)
{
    const QString t = text.trimmed();
    bool ok = false;
    *whole = t.toLongLong(&ok);
    if (ok) {
        *isWhole = true;
        return true;
    }
    *real = t.toDouble(&ok);
    *isWhole = false;
    return ok;
}

void addNumbers(sqlite3_context* ctx, bool wholeA, sqlite3_int64 a, double ra, bool wholeB, sqlite3_int64 b,
                double rb)
{
    if (wholeA && wholeB) {
        sqlite3_int64 sum = 0;
        if (__builtin_add_overflow(a, b, &sum))
            resultError(ctx, QStringLiteral("Ocorreu um erro de transbordo aritmético."));
        else
            sqlite3_result_int64(ctx, sum);
        return;
    }
    sqlite3_result_double(ctx, (wholeA ? double(a) : ra) + (wholeB ? double(b) : rb));
}

// "+" of T-SQL: numbers add, texts join, a text beside a number is read as one.
void plus(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const int ta = sqlite3_value_type(argv[0]);
    const int tb = sqlite3_value_type(argv[1]);
    if (ta == SQLITE_NULL || tb == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    if (!isNumber(ta) && !isNumber(tb)) {
        resultText(ctx, textOf(argv[0]) + textOf(argv[1]));
        return;
    }
    sqlite3_int64 wa = 0, wb = 0;
    double ra = 0, rb = 0;
    bool wholeA = ta == SQLITE_INTEGER, wholeB = tb == SQLITE_INTEGER;
    if (ta == SQLITE_INTEGER)
        wa = sqlite3_value_int64(argv[0]);
    else if (ta == SQLITE_FLOAT)
        ra = sqlite3_value_double(argv[0]);
    else if (!numberFromText(textOf(argv[0]), &wa, &ra, &wholeA))
        return resultError(
            ctx, QStringLiteral("A conversão do valor '%1' num número falhou.").arg(textOf(argv[0])));
    if (tb == SQLITE_INTEGER)
        wb = sqlite3_value_int64(argv[1]);
    else if (tb == SQLITE_FLOAT)
        rb = sqlite3_value_double(argv[1]);
    else if (!numberFromText(textOf(argv[1]), &wb, &rb, &wholeB))
        return resultError(
            ctx, QStringLiteral("A conversão do valor '%1' num número falhou.").arg(textOf(argv[1])));
    addNumbers(ctx, wholeA, wa, ra, wholeB, wb, rb);
}

void likeWith(LikePattern::Accents accents, sqlite3_context* ctx, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    // The pattern is usually a constant: compile it once per statement.
    auto* pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 1));
    if (!pattern) {
        pattern = new LikePattern(textOf(argv[1]), accents);
        sqlite3_set_auxdata(ctx, 1, pattern, [](void* p) { delete static_cast<LikePattern*>(p); });
        pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 1));
        if (!pattern) {
            const LikePattern once(textOf(argv[1]), accents);
            sqlite3_result_int(ctx, once.matches(textOf(argv[0])) ? 1 : 0);
            return;
        }
    }
    sqlite3_result_int(ctx, pattern->matches(textOf(argv[0])) ? 1 : 0);
}

void like(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    likeWith(LikePattern::Accents::Sensitive, ctx, argv);
}

void likeIgnoringAccents(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    likeWith(LikePattern::Accents::Insensitive, ctx, argv);
}

// A text as an accent- and case-insensitive LIKE compares it, for a column
// kept folded so that an index can be searched with a folded pattern.
void fold(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_text(ctx, "", 0, SQLITE_STATIC);
        return;
    }
    const LikePattern::Folded folded = LikePattern::fold(textOf(argv[0]), LikePattern::Accents::Insensitive);
    resultText(ctx, QString::fromUcs4(folded.constData(), folded.size()));
}

QString formatted(const QDateTime& moment)
{
    return moment.toString(QString::fromLatin1(dateTimeFormat));
}

bool parseDate(const QString& text, int style, QDateTime* out)
{
    static const QRegularExpression yearFirst(
        QStringLiteral("^(\\d{4})[-./]?(\\d{2})[-./]?(\\d{2})(?:[ "
                       "T](\\d{1,2}):(\\d{2})(?::(\\d{2})(?:\\.(\\d{1,3}))?)?)?$"));
    static const QRegularExpression dayFirst(QStringLiteral(
        "^(\\d{2})[-./](\\d{2})[-./](\\d{4})(?: (\\d{1,2}):(\\d{2})(?::(\\d{2})(?:\\.(\\d{1,3}))?)?)?$"));
    const bool dayFirstStyle = style == 103 || style == 104 || style == 105;
    const QRegularExpressionMatch m = (dayFirstStyle ? dayFirst : yearFirst).match(text.trimmed());
    if (!m.hasMatch())
        return false;
    const int year = (dayFirstStyle ? m.captured(3) : m.captured(1)).toInt();
    const int month = m.captured(2).toInt();
    const int day = (dayFirstStyle ? m.captured(1) : m.captured(3)).toInt();
    const QDate date(year, month, day);
    const QString ms = m.captured(7).leftJustified(3, u'0');
    const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt(), ms.toInt());
    if (!date.isValid() || !time.isValid())
        return false;
    *out = QDateTime(date, time);
    return true;
}

void datetime(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const int type = sqlite3_value_type(argv[0]);
    if (type == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    if (isNumber(type)) {
        // SQL Server counts days from 1 January 1900.
        const double days = sqlite3_value_double(argv[0]);
        const QDateTime base(QDate(1900, 1, 1), QTime(0, 0));
        resultText(ctx, formatted(base.addMSecs(qint64(days * 86400000.0 + (days >= 0 ? 0.5 : -0.5)))));
        return;
    }
    QDateTime moment;
    if (!parseDate(textOf(argv[0]), sqlite3_value_int(argv[1]), &moment))
        return resultError(
            ctx, QStringLiteral("A conversão do texto '%1' em data e hora falhou.").arg(textOf(argv[0])));
    resultText(ctx, formatted(moment));
}

void getdate(sqlite3_context* ctx, int, sqlite3_value**)
{
    resultText(ctx, formatted(QDateTime::currentDateTime()));
}

void trancount(sqlite3_context* ctx, int, sqlite3_value**)
{
    auto* context = static_cast<FunctionContext*>(sqlite3_user_data(ctx));
    sqlite3_result_int(ctx, context && context->trancount ? context->trancount() : 0);
}

void upper(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    resultText(ctx, textOf(argv[0]).toUpper());
}

void lower(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    resultText(ctx, textOf(argv[0]).toLower());
}

// COLUMNPROPERTY's 'IsIdentity': the server numbers an AUTOINCREMENT
// column's rows as SQL Server numbers an identity column's.
void columnProperty(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (textOf(argv[2]).compare(QLatin1String("IsIdentity"), Qt::CaseInsensitive) != 0)
        return sqlite3_result_null(ctx);
    const QByteArray table = textOf(argv[0]).toUtf8();
    const QByteArray column = textOf(argv[1]).toUtf8();
    int autoIncrement = 0;
    const int found =
        sqlite3_table_column_metadata(sqlite3_context_db_handle(ctx), "main", table.constData(),
                                      column.constData(), nullptr, nullptr, nullptr, nullptr, &autoIncrement);
    sqlite3_result_int(ctx, found == SQLITE_OK && autoIncrement ? 1 : 0);
}

int compareIgnoringCase(void* order, int na, const void* a, int nb, const void* b)
{
    return static_cast<const PortugueseOrder*>(order)->compare(
        std::string_view(static_cast<const char*>(a), std::size_t(na)),
        std::string_view(static_cast<const char*>(b), std::size_t(nb)));
}

void deleteOrder(void* order)
{
    delete static_cast<PortugueseOrder*>(order);
}

void define(sqlite3* db, const char* name, int arity, bool deterministic, void* data,
            void (*fn)(sqlite3_context*, int, sqlite3_value**))
{
    const int flags = SQLITE_UTF8 | (deterministic ? SQLITE_DETERMINISTIC : 0);
    sqlite3_create_function_v2(db, name, arity, flags, data, fn, nullptr, nullptr, nullptr);
}

} // namespace

void registerFunctions(sqlite3* db, FunctionContext* context)
{
    define(db, "qv_plus", 2, true, nullptr, plus);
    define(db, "qv_like", 2, true, nullptr, like);
    define(db, "qv_like_ai", 2, true, nullptr, likeIgnoringAccents);
    define(db, "qv_datetime", 2, true, nullptr, datetime);
    define(db, "qv_getdate", 0, false, nullptr, getdate);
    define(db, "qv_trancount", 0, false, context, trancount);
    define(db, "qv_upper", 1, true, nullptr, upper);
    define(db, "qv_lower", 1, true, nullptr, lower);
    define(db, "qv_fold", 1, true, nullptr, fold);
    define(db, "qv_columnproperty", 3, false, nullptr, columnProperty);
    sqlite3_create_collation_v2(db, "QV_CI", SQLITE_UTF8, new PortugueseOrder, compareIgnoringCase,
                                deleteOrder);
}

} // namespace dialect
