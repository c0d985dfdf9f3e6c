#include "platform/ado/embedded/procedures/SchemaProcedures.h"

#include "platform/ado/AdoConstants.h"
#include "platform/ado/embedded/EmbeddedServer.h"
#include "platform/values/Conversions.h"
#include "platform/values/VbError.h"

#include <mutex>

namespace ado::embedded {

namespace {

ResultSet outcome(int number, const QString& description)
{
    ResultSet rows;
    rows.columns = {Column{QStringLiteral("error_number"), adInteger, {}, {}},
                    Column{QStringLiteral("error_descrit"), adVarWChar, {}, {}}};
    rows.rows = {{vb::Variant(number), vb::Variant(description)}};
    return rows;
}

// The rows of a one-statement query with "?" values.
QList<Row> select(Session& session, const QString& sql, const QList<vb::Variant>& values = {})
{
    QString text = sql;
    for (const vb::Variant& v : values) {
        // Values of these procedures are numbers and codes: written as literals
        // with their apostrophes doubled.
        const qsizetype at = text.indexOf(u'?');
        const QString literal = v.isString() ? u'\'' + QString(*v.get<QString>()).replace(u'\'', QStringLiteral("''")) + u'\''
                                             : QString::number(vb::CLng(v));
        text.replace(at, 1, literal);
    }
    const BatchResult result = session.execute(text, 30);
    return result.rows ? result.rows->rows : QList<Row>();
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

// Runs the work in the caller's transaction, or in one of its own that is
// rolled back on any failure.
template <class Work>
ResultSet inTransaction(Session& session, const QString& failure, Work work)
{
    const bool own = session.transactionCount() == 0;
    if (own)
        session.beginTransaction();
    try {
        work();
        if (own)
            session.commitTransaction();
        return outcome(0, {});
    } catch (const vb::Error& e) {
        if (own && session.transactionCount() > 0)
            session.rollbackTransaction();
        return outcome(3, failure + e.description());
    }
}

} // namespace

std::optional<ResultSet> spDELETE_CONTACTO(Session& session, const QList<vb::Variant>& arguments)
{
    const qint32 id = argumentNumber(arguments, 0);
    const QList<Row> contact = select(session, QStringLiteral("SELECT user_delete FROM tbContactos WHERE contacto_id = ?"), {id});
    if (contact.isEmpty())
        return outcome(1, QStringLiteral("o contacto indicado não existe."));
    if (contact[0][0].isNull() || vb::CDbl(contact[0][0]) != 0)
        return outcome(2, QStringLiteral("o contacto está protegido pelo sistema."));
    const QList<Row> tables = select(session, QStringLiteral(
        "SELECT m.name FROM sqlite_master m WHERE m.type = 'table' AND m.name NOT IN ('tbContactos', 'tbUsers') AND "
        "EXISTS (SELECT 1 FROM pragma_table_info(m.name) p WHERE p.name = 'contacto_id') ORDER BY m.name"));
    return inTransaction(session, QStringLiteral("o servidor recusou a eliminação: "), [&] {
        for (const Row& table : tables)
            session.executeWith(QStringLiteral("DELETE FROM %1 WHERE contacto_id = ?").arg(quotedName(vb::CStr(table[0]))),
                                {id}, 30);
        session.executeWith(QStringLiteral("DELETE FROM tbContactos_Relacionados WHERE related_contacto_id = ?"), {id}, 30);
        session.executeWith(QStringLiteral("UPDATE tbUsers SET contacto_id = NULL WHERE contacto_id = ?"), {id}, 30);
        session.executeWith(QStringLiteral("DELETE FROM tbContactos WHERE contacto_id = ?"), {id}, 30);
    });
}

std::optional<ResultSet> spADD_CONTACTO_TO_GROUP(Session& session, const QList<vb::Variant>& arguments)
{
    const qint32 id = argumentNumber(arguments, 0);
    const QString file = argumentText(arguments, 1);
    const vb::Variant groupMask(argumentText(arguments, 2));
    const vb::Variant userMask(argumentText(arguments, 3));
    const QList<Row> type = select(
        session, QStringLiteral("SELECT contacto_tipo_id, related FROM tbContactos_Tipos WHERE descrit = ? LIMIT 1"), {file});
    if (type.isEmpty() || type[0][1].isNull() || vb::CStr(type[0][1]).isEmpty())
        return outcome(1, QStringLiteral("o ficheiro indicado não existe."));
    if (select(session, QStringLiteral("SELECT contacto_id FROM tbContactos WHERE contacto_id = ?"), {id}).isEmpty())
        return outcome(2, QStringLiteral("o contacto indicado não existe."));
    const qint32 typeId = vb::CLng(type[0][0]);
    const QString table = vb::CStr(type[0][1]);
    return inTransaction(session, QStringLiteral("o servidor recusou a operação: "), [&] {
        session.executeWith(QStringLiteral("INSERT INTO tbContactos_Tipos_Links (contacto_id, contacto_tipo_id, created_date) "
                                           "SELECT ?1, ?2, strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime') WHERE NOT EXISTS "
                                           "(SELECT 1 FROM tbContactos_Tipos_Links WHERE contacto_id = ?1 AND contacto_tipo_id = ?2)"),
                            {id, typeId}, 30);
        session.executeWith(QStringLiteral("INSERT OR IGNORE INTO %1 (contacto_id, data_entrada) VALUES (?, strftime('%Y-%m-%d "
                                           "%H:%M:%f', 'now', 'localtime'))")
                                .arg(quotedName(table)),
                            {id}, 30);
        session.executeWith(QStringLiteral("DELETE FROM %1 WHERE contacto_id = ?").arg(quotedName(table + QStringLiteral("_Permitions"))),
                            {id}, 30);
        session.executeWith(QStringLiteral("INSERT INTO %1 (contacto_id, user_code, group_code) VALUES (?, ?, ?)")
                                .arg(quotedName(table + QStringLiteral("_Permitions"))),
                            {id, userMask, groupMask}, 30);
    });
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
