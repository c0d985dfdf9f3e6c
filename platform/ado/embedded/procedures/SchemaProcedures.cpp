#include "platform/ado/embedded/procedures/SchemaProcedures.h"

#include "platform/ado/AdoConstants.h"
#include "platform/ado/embedded/EmbeddedServer.h"
#include "platform/values/Conversions.h"
#include "platform/values/VbError.h"

#include <QSet>
#include <algorithm>
#include <mutex>

namespace ado::embedded {

namespace {

constexpr int timeoutSeconds = 30;

ResultSet outcome(int number, const QString& description)
{
    ResultSet rows;
    rows.columns = {Column{QStringLiteral("error_number"), adInteger, {}, {}},
                    Column{QStringLiteral("error_descrit"), adVarWChar, {}, {}}};
    rows.rows = {{vb::Variant(number), vb::Variant(description)}};
    return rows;
}

// Only numbers and texts reach these queries: numbers in decimal, texts
// between apostrophes with their own apostrophes doubled.
QString literal(const vb::Variant& value)
{
    if (value.isNull())
        return QStringLiteral("NULL");
    if (value.isString())
        return u'\'' + QString(*value.get<QString>()).replace(u'\'', QStringLiteral("''")) + u'\'';
    return QString::number(vb::CLng(value));
}

// The rows of one query whose "?" markers stand for the values, in order.
// The session binds values only for statements without rows, so the values
// are written into the text here; a marker inside a value is never taken for
// one of the query's.
ResultSet query(Session& session, const QString& sql, const QList<vb::Variant>& values = {})
{
    const QStringList parts = sql.split(u'?');
    Q_ASSERT(parts.size() == values.size() + 1);
    QString text = parts.first();
    for (qsizetype i = 0; i < values.size(); ++i)
        text += literal(values[i]) + parts[i + 1];
    BatchResult result = session.execute(text, timeoutSeconds);
    return result.rows ? std::move(*result.rows) : ResultSet();
}

QList<Row> select(Session& session, const QString& sql, const QList<vb::Variant>& values = {})
{
    return query(session, sql, values).rows;
}

void run(Session& session, const QString& statement, const QList<vb::Variant>& values = {})
{
    session.executeWith(statement, values, timeoutSeconds);
}

qint32 argumentNumber(const QList<vb::Variant>& arguments, int index)
{
    return index < arguments.size() && !arguments[index].isNull() ? vb::CLng(arguments[index]) : 0;
}

QString argumentText(const QList<vb::Variant>& arguments, int index)
{
    return index < arguments.size() && !arguments[index].isNull() ? vb::CStr(arguments[index]) : QString();
}

QString quotedName(QString name)
{
    return u'"' + name.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString now()
{
    return QStringLiteral("strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime')");
}

// Undoes what the procedure wrote: its own transaction, or back to its
// savepoint inside the caller's. When even that fails the error goes to the
// caller, who then holds a transaction it must roll back.
void undo(Session& session, bool own, const QString& savepoint)
{
    if (own) {
        if (session.transactionCount() > 0)
            session.rollbackTransaction();
        return;
    }
    run(session, QStringLiteral("ROLLBACK TO ") + savepoint);
    run(session, QStringLiteral("RELEASE ") + savepoint);
}

// The work as one unit: in a transaction of its own when the caller has
// none, otherwise under a savepoint of the caller's transaction, so that a
// failure leaves nothing half-done and the caller's own work untouched.
// `refusal` carries the server's reason in place of %1.
template <class Work>
ResultSet asOneUnit(Session& session, const QString& savepoint, const QString& refusal, Work work)
{
    const bool own = session.transactionCount() == 0;
    if (own)
        session.beginTransaction();
    else
        run(session, QStringLiteral("SAVEPOINT ") + savepoint);
    try {
        work();
        if (own)
            session.commitTransaction();
        else
            run(session, QStringLiteral("RELEASE ") + savepoint);
    } catch (const vb::Error& e) {
        undo(session, own, savepoint);
        return outcome(3, refusal.arg(e.description().trimmed()));
    }
    return outcome(0, {});
}

// A catalog without the user_delete column protects nobody; with it, any
// value but 0 protects, Null included.
bool isProtected(const ResultSet& contact)
{
    for (qsizetype i = 0; i < contact.columns.size(); ++i) {
        if (contact.columns[i].name.compare(QLatin1String("user_delete"), Qt::CaseInsensitive) == 0) {
            const vb::Variant& value = contact.rows.first()[i];
            return value.isNull() || vb::CDbl(value) != 0;
        }
    }
    return false;
}

struct AttachedTable {
    QString name;
    QString companionKey; // the key of its "_Permitions" rows when that is not contacto_id
};

// Every table with a contacto_id column but the contacts and users
// themselves, and for those whose records have a key of their own (policies,
// claims...) the key their permission rows carry.
QList<AttachedTable> attachedTables(Session& session)
{
    QSet<QString> all;
    for (const Row& row :
         select(session, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'")))
        all.insert(vb::CStr(row[0]).toLower());
    const QList<Row> rows =
        select(session, QStringLiteral("SELECT m.name FROM sqlite_master m WHERE m.type = 'table' AND m.name "
                                       "NOT IN ('tbContactos', 'tbUsers') AND "
                                       "EXISTS (SELECT 1 FROM pragma_table_info(m.name) p WHERE p.name = "
                                       "'contacto_id') ORDER BY m.name"));
    QList<AttachedTable> tables;
    for (const Row& row : rows) {
        AttachedTable table{vb::CStr(row[0]), {}};
        const QStringList key = session.primaryKey(table.name);
        if (all.contains(table.name.toLower() + QStringLiteral("_permitions")) && key.size() == 1 &&
            key.first().compare(QLatin1String("contacto_id"), Qt::CaseInsensitive) != 0)
            table.companionKey = key.first();
        tables.append(table);
    }
    return tables;
}

void deleteEverythingOf(Session& session, qint32 id)
{
    const QList<AttachedTable> tables = attachedTables(session);
    // Permission rows of the contact's own records go before the records.
    for (const AttachedTable& table : tables) {
        if (table.companionKey.isEmpty())
            continue;
        const QString key = quotedName(table.companionKey);
        run(session,
            QStringLiteral("DELETE FROM %1 WHERE %2 IN (SELECT %2 FROM %3 WHERE contacto_id = ?)")
                .arg(quotedName(table.name + QStringLiteral("_Permitions")), key, quotedName(table.name)),
            {id});
    }
    for (const AttachedTable& table : tables)
        run(session, QStringLiteral("DELETE FROM %1 WHERE contacto_id = ?").arg(quotedName(table.name)),
            {id});
    run(session, QStringLiteral("DELETE FROM tbContactos_Relacionados WHERE related_contacto_id = ?"), {id});
    // A pair said not to be one names the contact on either side.
    if (std::any_of(tables.cbegin(), tables.cend(), [](const AttachedTable& t) {
            return t.name.compare(QLatin1String("tbContactos_Duplicados_Rejeitados"), Qt::CaseInsensitive) ==
                   0;
        }))
        run(session,
            QStringLiteral("DELETE FROM tbContactos_Duplicados_Rejeitados WHERE outro_contacto_id = ?"),
            {id});
    run(session, QStringLiteral("UPDATE tbUsers SET contacto_id = NULL WHERE contacto_id = ?"), {id});
    run(session, QStringLiteral("DELETE FROM tbContactos WHERE contacto_id = ?"), {id});
}

void fileContact(Session& session, qint32 id, qint32 typeId, const QString& table,
                 const vb::Variant& groupMask, const vb::Variant& userMask)
{
    run(session,
        QStringLiteral("INSERT INTO tbContactos_Tipos_Links (contacto_id, contacto_tipo_id, created_date) "
                       "SELECT ?1, ?2, %1 "
                       "WHERE NOT EXISTS (SELECT 1 FROM tbContactos_Tipos_Links WHERE contacto_id = ?1 AND "
                       "contacto_tipo_id = ?2)")
            .arg(now()),
        {id, typeId});
    run(session,
        QStringLiteral("INSERT INTO %1 (contacto_id, data_entrada) SELECT ?1, %2 WHERE NOT EXISTS "
                       "(SELECT 1 FROM %1 WHERE contacto_id = ?1)")
            .arg(quotedName(table), now()),
        {id});
    const QString permissions = quotedName(table + QStringLiteral("_Permitions"));
    run(session, QStringLiteral("DELETE FROM %1 WHERE contacto_id = ?").arg(permissions), {id});
    run(session,
        QStringLiteral("INSERT INTO %1 (contacto_id, user_code, group_code) VALUES (?, ?, ?)")
            .arg(permissions),
        {id, userMask, groupMask});
}

} // namespace

// The texts complete "Erro: não é possível eliminar o registo porque ...".
std::optional<ResultSet> spDELETE_CONTACTO(Session& session, const QList<vb::Variant>& arguments)
{
    const qint32 id = argumentNumber(arguments, 0);
    const ResultSet contact =
        query(session, QStringLiteral("SELECT * FROM tbContactos WHERE contacto_id = ?"), {id});
    if (contact.rows.isEmpty())
        return outcome(1, QStringLiteral("o contacto indicado não existe."));
    if (isProtected(contact))
        return outcome(2, QStringLiteral("o contacto está protegido pelo sistema."));
    return asOneUnit(session, QStringLiteral("spDELETE_CONTACTO"),
                     QStringLiteral("o servidor recusou a eliminação (%1)."),
                     [&] { deleteEverythingOf(session, id); });
}

constexpr qsizetype fileNameWidth = 80;
constexpr qsizetype maskWidth = 400;

// LTRIM(RTRIM(…)) as the server does it: spaces only, other white space kept.
QString spacesTrimmed(const QString& text)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text[b] == u' ')
        ++b;
    while (e > b && text[e - 1] == u' ')
        --e;
    return text.mid(b, e - b);
}

// The texts complete "Não é possivel adicionar o registo porque ...", which
// adds the full stop itself.
std::optional<ResultSet> spADD_CONTACTO_TO_GROUP(Session& session, const QList<vb::Variant>& arguments)
{
    const qint32 id = argumentNumber(arguments, 0);
    const QString file = argumentText(arguments, 1);
    const vb::Variant groupMask(argumentText(arguments, 2));
    const vb::Variant userMask(argumentText(arguments, 3));
    // Longer values than their columns are refused, never cut, as the
    // server's procedure does.
    if (file.size() > fileNameWidth || argumentText(arguments, 2).size() > maskWidth ||
        argumentText(arguments, 3).size() > maskWidth)
        return outcome(
            4, QStringLiteral("o nome do ficheiro tem mais de 80 caracteres ou uma máscara mais de 400"));
    // The first type of that name, as SQL Server's TOP 1 takes it.
    const QList<Row> type = select(session,
                                   QStringLiteral("SELECT contacto_tipo_id, related FROM tbContactos_Tipos "
                                                  "WHERE descrit = ? ORDER BY contacto_tipo_id"),
                                   {file});
    if (type.isEmpty() || type[0][1].isNull() || spacesTrimmed(vb::CStr(type[0][1])).isEmpty())
        return outcome(1, QStringLiteral("o ficheiro «%1» não existe").arg(file));
    if (select(session, QStringLiteral("SELECT contacto_id FROM tbContactos WHERE contacto_id = ?"), {id})
            .isEmpty())
        return outcome(2, QStringLiteral("o contacto indicado não existe"));
    const qint32 typeId = vb::CLng(type[0][0]);
    const QString table = spacesTrimmed(vb::CStr(type[0][1]));
    return asOneUnit(session, QStringLiteral("spADD_CONTACTO_TO_GROUP"),
                     QStringLiteral("o servidor recusou a operação (%1)"),
                     [&] { fileContact(session, id, typeId, table, groupMask, userMask); });
}

void registerSchemaProcedures()
{
    static std::once_flag once;
    std::call_once(once, [] {
        EmbeddedServer::registerProcedure(QStringLiteral("spDELETE_CONTACTO"), spDELETE_CONTACTO);
        EmbeddedServer::registerProcedure(QStringLiteral("spADD_CONTACTO_TO_GROUP"), spADD_CONTACTO_TO_GROUP);
    });
}

} // namespace ado::embedded
