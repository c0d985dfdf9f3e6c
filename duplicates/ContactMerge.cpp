#include "duplicates/ContactMerge.h"

#include "connection/ConnectionState.h"
#include "data/TransactionScope.h"
#include "data/modData.h"
#include "duplicates/Likeness.h"
#include "duplicates/Reading.h"
#include "permissions/ContactsFile.h"
#include "permissions/modCheckPermissions.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"
#include "platform/values/VbError.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QSet>
#include <algorithm>
#include <functional>

namespace duplicates {

namespace {

using reading::query;
using reading::text;

// ---- Statements ----
const char16_t selectContactTables[] =
    u"SELECT c.TABLE_NAME FROM INFORMATION_SCHEMA.COLUMNS c INNER JOIN INFORMATION_SCHEMA.TABLES t ON "
    u"t.TABLE_NAME = c.TABLE_NAME WHERE c.COLUMN_NAME = N'contacto_id' AND t.TABLE_TYPE = N'BASE TABLE' "
    u"ORDER BY c.TABLE_NAME";
const char16_t selectRows[] = u"SELECT * FROM %1 WHERE %2 = %3 ORDER BY 1";
const char16_t selectKind[] = u"SELECT genero_id, COALESCE(modified_date, created_date) AS quando FROM "
                              u"tbContactos WHERE contacto_id = %1";
const char16_t moveAll[] = u"UPDATE %1 SET contacto_id = %2 WHERE contacto_id = %3";
// Rows whose key (besides the contact) the kept contact does not have yet.
const char16_t moveMissing[] = u"UPDATE %1 SET contacto_id = %2 WHERE contacto_id = %3 AND NOT EXISTS "
                               u"(SELECT 1 FROM %1 x WHERE x.contacto_id = %2%4)";
const char16_t sameColumn[] = u" AND x.%1 = %2.%1";
const char16_t moveRelations[] =
    u"UPDATE tbContactos_Relacionados SET contacto_id = %1 WHERE contacto_id = %2";
const char16_t moveRelated[] =
    u"UPDATE tbContactos_Relacionados SET related_contacto_id = %1 WHERE related_contacto_id = %2";
const char16_t dropSelfRelations[] =
    u"DELETE FROM tbContactos_Relacionados WHERE contacto_id = %1 AND related_contacto_id = %1";
const char16_t dropTwiceRelated[] =
    u"DELETE FROM tbContactos_Relacionados WHERE contacto_id = %1 AND relacao_id NOT IN (SELECT "
    u"MIN(relacao_id) "
    u"FROM tbContactos_Relacionados WHERE contacto_id = %1 GROUP BY related_contacto_id)";
const char16_t dropTwiceRelating[] =
    u"DELETE FROM tbContactos_Relacionados WHERE related_contacto_id = %1 AND relacao_id NOT IN (SELECT "
    u"MIN(relacao_id) FROM tbContactos_Relacionados WHERE related_contacto_id = %1 GROUP BY contacto_id)";
const char16_t moveUsers[] = u"UPDATE tbUsers SET contacto_id = %1 WHERE contacto_id = %2";
const char16_t setValue[] = u"UPDATE %1 SET %2 = ? WHERE contacto_id = %3";
const char16_t stampKept[] =
    u"UPDATE tbContactos SET modified_by = %1, modified_date = GETDATE() WHERE contacto_id = %2";
const char16_t selectPersonName[] =
    u"SELECT nome, apelido FROM tbContactos_Singulares WHERE contacto_id = %1";
const char16_t renameContact[] = u"UPDATE tbContactos SET nome_union = %1 WHERE contacto_id = %2";
constexpr int personKind = 1;
const QString mergedUids = QStringLiteral("tbContactos_VCard_Fundidos");
const char16_t keepMergedUid[] =
    u"INSERT INTO tbContactos_VCard_Fundidos (uid, contacto_id) SELECT uid, %1 FROM "
    u"tbContactos_VCard WHERE contacto_id = %2";
const char16_t moveMergedUids[] =
    u"UPDATE tbContactos_VCard_Fundidos SET contacto_id = %1 WHERE contacto_id = %2";
const char16_t deleteOther[] = u"EXECUTE spDELETE_CONTACTO %1,0";
const char16_t deleteRow[] = u"DELETE FROM %1 WHERE %2 = ?";
const char16_t clearDefault[] = u"UPDATE %1 SET %2 = 0 WHERE %3 = ?";
const char16_t deleteRows[] = u"DELETE FROM %1 WHERE %2 IN (%3, %4)";
const char16_t insertRow[] = u"INSERT INTO %1 (%2) VALUES (%3)";
// A row's own number goes back only while the server lets it (SQL Server,
// one table at a time).
const char16_t selectIdentity[] =
    u"SELECT COLUMN_NAME FROM INFORMATION_SCHEMA.COLUMNS WHERE TABLE_NAME = N'%1' AND "
    u"COLUMNPROPERTY(OBJECT_ID(TABLE_NAME), COLUMN_NAME, N'IsIdentity') = 1";
const char16_t identityInsert[] = u"SET IDENTITY_INSERT %1 %2";
const char16_t relinkUser[] = u"UPDATE tbUsers SET contacto_id = ? WHERE user_id = ?";
const char16_t insertLog[] =
    u"INSERT INTO tbContactos_Fusoes (contacto_mantido_id, contacto_fundido_id, created_by, created_date, "
    u"antes, depois, desfeita) VALUES (%1, %2, ?, NULL, ?, ?, 0)";
const char16_t stampLog[] = u"UPDATE tbContactos_Fusoes SET created_date = GETDATE() WHERE fusao_id = %1";
const char16_t selectLastLog[] = u"SELECT @@IDENTITY AS fusao";
const char16_t selectLog[] = u"SELECT contacto_mantido_id, contacto_fundido_id, desfeita, antes, depois FROM "
                             u"tbContactos_Fusoes WHERE fusao_id = %1";
const char16_t markUndone[] = u"UPDATE tbContactos_Fusoes SET desfeita = 1 WHERE fusao_id = %1";
const char16_t selectLogs[] = u"SELECT fusao_id, contacto_mantido_id, contacto_fundido_id, created_by, "
                              u"created_date, desfeita FROM tbContactos_Fusoes ORDER BY fusao_id DESC";
const char16_t selectExists[] = u"SELECT COUNT(*) AS n FROM tbContactos WHERE contacto_id = %1";

// Tables the merge treats by their own rule, or not at all.
const QString contacts = QStringLiteral("tbContactos");
const QString relations = QStringLiteral("tbContactos_Relacionados");
const QString dismissedPairs = QStringLiteral("tbContactos_Duplicados_Rejeitados");
const QString users = QStringLiteral("tbUsers");
const QSet<QString> ownValues = {contacts, QStringLiteral("tbContactos_Singulares"),
                                 QStringLiteral("tbContactos_Institucionais")};
const QSet<QString> keptByServer = {QStringLiteral("tbContactos_Lista")};
// A contact is filed once in each file, whatever its rows' own numbers.
const QMap<QString, QString> keyedBy = {
    {QStringLiteral("tbContactos_Tipos_Links"), QStringLiteral("contacto_tipo_id")}};
// Columns the user does not choose between.
const QSet<QString> notChosen = {QStringLiteral("contacto_id"), QStringLiteral("genero_id"),
                                 QStringLiteral("created_by"),  QStringLiteral("created_date"),
                                 QStringLiteral("modified_by"), QStringLiteral("modified_date"),
                                 QStringLiteral("chave"),       QStringLiteral("user_delete")};
const QMap<QString, QString> captions = {
    {QStringLiteral("nome_union"), QStringLiteral("Nome")},
    {QStringLiteral("no_contribuinte"), QStringLiteral("NIF")},
    {QStringLiteral("nome"), QStringLiteral("Nome")},
    {QStringLiteral("apelido"), QStringLiteral("Apelidos")},
    {QStringLiteral("titulo"), QStringLiteral("Título")},
    {QStringLiteral("profissao"), QStringLiteral("Profissão")},
    {QStringLiteral("nacionalidade"), QStringLiteral("Nacionalidade")},
    {QStringLiteral("data_nascimento"), QStringLiteral("Data de nascimento")},
    {QStringLiteral("sexo"), QStringLiteral("Sexo")},
    {QStringLiteral("no_identificacao"), QStringLiteral("N.º de identificação")},
    {QStringLiteral("area_negocio_id"), QStringLiteral("Área de negócio")},
    {QStringLiteral("sigla"), QStringLiteral("Sigla")},
    {QStringLiteral("capital_social"), QStringLiteral("Capital social")},
    {QStringLiteral("sitio"), QStringLiteral("Sítio")},
    {QStringLiteral("user_code"), QStringLiteral("Permissões dos utilizadores")},
    {QStringLiteral("group_code"), QStringLiteral("Permissões dos grupos")},
};
const QString rightsTable = QStringLiteral("tbTulvas_Contactos_Permitions");

// The e-mails, telephones and addresses a contact has once of each value.
struct Ways {
    const char* table;
    const char* key;
    const char* defaultColumn;
    std::function<QString(const ado::Recordset&)> value;
};

const Ways ways[] = {
    {"tbContactos_Emails", "email_id", "email_default",
     [](const ado::Recordset& rs) { return comparableEmail(text(rs(QStringLiteral("email")))); }},
    {"tbContactos_Telefones", "telefone_id", "telefone_default",
     [](const ado::Recordset& rs) { return comparableNumber(text(rs(QStringLiteral("numero")))); }},
    {"tbContactos_Moradas", "morada_id", "morada_default",
     [](const ado::Recordset& rs) {
         return nameKey(text(rs(QStringLiteral("morada")))) + u'|' +
                comparableNif(text(rs(QStringLiteral("codigo_postal")))) + u'|' +
                nameKey(text(rs(QStringLiteral("localidade"))));
     }},
};

ado::Connection& server()
{
    return Data().SqlServer;
}

void execute(const QString& statement)
{
    server().Execute(statement);
}

// ---- Rows as JSON: [type, value] for each column ----
QJsonValue toJson(const vb::Variant& v)
{
    switch (v.type()) {
    case vb::VarType::Empty:
    case vb::VarType::Null:
        return QJsonArray{int(vb::VarType::Null)};
    case vb::VarType::Boolean:
        return QJsonArray{int(v.type()), vb::CBool(v)};
    case vb::VarType::Integer:
    case vb::VarType::Long:
        return QJsonArray{int(vb::VarType::Long), vb::CLng(v)};
    case vb::VarType::Date:
        return QJsonArray{int(v.type()), vb::CDbl(v)};
    case vb::VarType::Single:
    case vb::VarType::Double:
    case vb::VarType::Currency:
        return QJsonArray{int(vb::VarType::Double), vb::CDbl(v)};
    default:
        return QJsonArray{int(vb::VarType::String), vb::CStr(v)};
    }
}

vb::Variant fromJson(const QJsonValue& value)
{
    const QJsonArray a = value.toArray();
    switch (vb::VarType(a.at(0).toInt())) {
    case vb::VarType::Boolean:
        return vb::Variant(a.at(1).toBool());
    case vb::VarType::Long:
        return vb::Variant(a.at(1).toInt());
    case vb::VarType::Date:
        return vb::Variant::fromDate(a.at(1).toDouble());
    case vb::VarType::Double:
        return vb::Variant(a.at(1).toDouble());
    case vb::VarType::String:
        return vb::Variant(a.at(1).toString());
    default:
        return vb::Variant::null();
    }
}

QJsonObject rowOf(const ado::Recordset& rs)
{
    QJsonObject row;
    for (int i = 0; i < rs.FieldCount(); ++i)
        row.insert(rs.Fields(i).Name(), toJson(rs.Fields(i).Value()));
    return row;
}

QStringList contactTables()
{
    QStringList tables;
    for (ado::Recordset rs = query(QString::fromUtf16(selectContactTables)); !rs.Eof(); rs.MoveNext())
        if (const QString t = text(rs.Fields(0).Value()); !keptByServer.contains(t) && !tables.contains(t))
            tables << t;
    return tables;
}

// Every row that names the contacts: {table: [rows]}, each row once.
QJsonObject snapshot(const QList<qint32>& ids, const QStringList& tables)
{
    QJsonObject all;
    const auto add = [&](const QString& table, const char16_t* column, qint32 id) {
        QJsonArray rows = all.value(table).toArray();
        for (ado::Recordset rs = query(sql::compose(selectRows, {table, column, id})); !rs.Eof();
             rs.MoveNext())
            if (const QJsonObject row = rowOf(rs); !rows.contains(row))
                rows.append(row);
        all.insert(table, rows);
    };
    for (const qint32 id : ids) {
        for (const QString& table : tables)
            add(table, u"contacto_id", id);
        add(relations, u"related_contacto_id", id);
        if (tables.contains(dismissedPairs))
            add(dismissedPairs, u"outro_contacto_id", id);
    }
    return all;
}

QString json(const QJsonObject& object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QJsonObject parsed(const QString& text)
{
    return QJsonDocument::fromJson(text.toUtf8()).object();
}

void requireRight(const QString& user, qint32 id, qint32 action, const QString& refusal)
{
    if (!modCheckPermissions::CheckObjectSecurity(user, id, contactsfile::kind, action))
        throw vb::Error(0, refusal);
}

struct Kind {
    int genero = 0;
    vb::Variant when;
};

Kind kindOf(qint32 id)
{
    ado::Recordset rs = query(sql::compose(selectKind, {id}));
    if (rs.Eof())
        throw vb::Error(0, QStringLiteral("o contacto n.º ") + QString::number(id) +
                               QStringLiteral(" já não existe"));
    Kind k{vb::CLng(rs(QStringLiteral("genero_id"))), rs(QStringLiteral("quando"))};
    rs.Close();
    return k;
}

// Dates as the server gives them: values, or ISO text (which sorts as they do).
bool later(const vb::Variant& a, const vb::Variant& b)
{
    if (a.isNull() || b.isNull())
        return !a.isNull();
    if (a.isDate() && b.isDate())
        return vb::CDbl(a) > vb::CDbl(b);
    return text(a) > text(b);
}

bool isEmptyValue(const vb::Variant& v)
{
    return text(v).trimmed().isEmpty();
}

// As the card names a person in the list: the name and the surnames.
void renamePerson(qint32 id)
{
    ado::Recordset rs = query(sql::compose(selectPersonName, {id}));
    if (rs.Eof())
        return;
    const QString name =
        (text(rs(QStringLiteral("nome"))).trimmed() + u' ' + text(rs(QStringLiteral("apelido"))).trimmed())
            .trimmed();
    rs.Close();
    execute(sql::compose(renameContact, {modData::FormatSQLValue(vb::Variant(name), modData::kText), id}));
}

// The other's vCard UID, when it did not become the kept contact's own, stays
// with the kept contact so that an import of its card finds it.
void rememberUid(qint32 kept, qint32 other)
{
    if (reading::hasTable(mergedUids)) {
        execute(sql::compose(keepMergedUid, {kept, other}));
        execute(sql::compose(moveMergedUids, {kept, other}));
    }
}

// ---- Moving ----
void moveRows(const QString& table, qint32 kept, qint32 other)
{
    if (const auto keyed = keyedBy.constFind(table); keyed != keyedBy.constEnd()) {
        execute(sql::compose(moveMissing, {table, kept, other, sql::compose(sameColumn, {*keyed, table})}));
        return;
    }
    const QStringList key = server().primaryKey(table);
    if (!key.contains(QStringLiteral("contacto_id"), Qt::CaseInsensitive)) {
        execute(sql::compose(moveAll, {table, kept, other}));
        return;
    }
    QString same;
    for (const QString& column : key)
        if (column.compare(QLatin1String("contacto_id"), Qt::CaseInsensitive) != 0)
            same += sql::compose(sameColumn, {column, table});
    execute(sql::compose(moveMissing, {table, kept, other, same}));
}

// One row of each value; the kept contact's rows first, and one default.
void foldWays(const Ways& w, qint32 kept, const QSet<qint32>& keptRows)
{
    struct Row {
        qint32 id;
        QString value;
        bool isDefault;
    };
    QList<Row> rows;
    for (ado::Recordset rs =
             query(sql::compose(selectRows, {QString::fromLatin1(w.table), u"contacto_id", kept}));
         !rs.Eof(); rs.MoveNext())
        rows.append({vb::CLng(rs(QString::fromLatin1(w.key))), w.value(rs),
                     vb::CLng(rs(QString::fromLatin1(w.defaultColumn))) != 0});
    std::stable_sort(rows.begin(), rows.end(), [&](const Row& a, const Row& b) {
        return keptRows.contains(a.id) && !keptRows.contains(b.id);
    });
    QSet<QString> seen;
    bool haveDefault = false;
    for (const Row& row : rows) {
        if (seen.contains(row.value)) {
            server().runWith(
                sql::compose(deleteRow, {QString::fromLatin1(w.table), QString::fromLatin1(w.key)}),
                {vb::Variant(int(row.id))});
            continue;
        }
        seen.insert(row.value);
        if (row.isDefault && haveDefault)
            server().runWith(sql::compose(clearDefault,
                                          {QString::fromLatin1(w.table), QString::fromLatin1(w.defaultColumn),
                                           QString::fromLatin1(w.key)}),
                             {vb::Variant(int(row.id))});
        haveDefault = haveDefault || row.isDefault;
    }
}

QSet<qint32> idsIn(const QJsonObject& rows, const QString& table, const QString& key, qint32 contact)
{
    QSet<qint32> ids;
    for (const QJsonValue& row : rows.value(table).toArray())
        if (const vb::Variant owner = fromJson(row[QStringLiteral("contacto_id")]);
            !owner.isNull() && vb::CLng(owner) == contact)
            ids.insert(vb::CLng(fromJson(row[key])));
    return ids;
}

} // namespace

ContactMerge::ContactMerge(QString user) : user_(std::move(user)) {}

QList<FieldChoice> ContactMerge::differences(qint32 kept, qint32 other)
{
    const Kind keptKind = kindOf(kept);
    const Kind otherKind = kindOf(other);
    const bool otherNewer = later(otherKind.when, keptKind.when);
    QList<FieldChoice> choices;
    for (const QString& table : {contacts, QStringLiteral("tbContactos_Singulares"),
                                 QStringLiteral("tbContactos_Institucionais"), rightsTable}) {
        ado::Recordset mine = query(sql::compose(selectRows, {table, u"contacto_id", kept}));
        ado::Recordset theirs = query(sql::compose(selectRows, {table, u"contacto_id", other}));
        if (mine.Eof() || theirs.Eof())
            continue;
        for (int i = 0; i < mine.FieldCount(); ++i) {
            const QString column = mine.Fields(i).Name();
            // A person's name in the list is made of the name and surnames chosen.
            if (notChosen.contains(column.toLower()) ||
                (table == contacts && column == u"nome_union" && keptKind.genero == personKind))
                continue;
            const vb::Variant a = mine.Fields(i).Value();
            const vb::Variant b = theirs.Fields(column).Value();
            if (text(a) == text(b))
                continue;
            const bool takeOther = !isEmptyValue(b) && (isEmptyValue(a) || otherNewer);
            choices.append({table, column, captions.value(column, column), a, b, takeOther});
        }
    }
    return choices;
}

qint32 ContactMerge::merge(qint32 kept, qint32 other, const QList<FieldChoice>& choices)
{
    if (kept == other)
        throw vb::Error(0, QStringLiteral("um contacto não se funde consigo mesmo"));
    const QString number = QStringLiteral("n.º ");
    const int genero = kindOf(kept).genero;
    if (genero != kindOf(other).genero)
        throw vb::Error(0,
                        QStringLiteral("só se fundem contactos do mesmo tipo (particular ou instituição)"));
    requireRight(user_, kept, modCheckPermissions::Change,
                 QStringLiteral("não tem permissão para alterar o contacto ") + number +
                     QString::number(kept));
    requireRight(user_, other, modCheckPermissions::Remove,
                 QStringLiteral("não tem permissão para apagar o contacto ") + number +
                     QString::number(other));
    TransactionScope unit;
    unit.begin();
    const QStringList tables = contactTables();
    const QJsonObject before = snapshot({kept, other}, tables);
    for (const FieldChoice& choice : choices)
        if (choice.takeOther)
            server().runWith(sql::compose(setValue, {choice.table, choice.column, kept}), {choice.other});
    execute(sql::compose(stampKept, {modData::FormatSQLValue(vb::Variant(user_), modData::kText), kept}));
    if (genero == personKind)
        renamePerson(kept);
    for (const QString& table : tables)
        if (!ownValues.contains(table) && table != relations && table != users && table != dismissedPairs)
            moveRows(table, kept, other);
    for (const Ways& w : ways)
        foldWays(w, kept, idsIn(before, QString::fromLatin1(w.table), QString::fromLatin1(w.key), kept));
    for (const char16_t* statement : {moveRelations, moveRelated})
        execute(sql::compose(statement, {kept, other}));
    for (const char16_t* statement : {dropSelfRelations, dropTwiceRelated, dropTwiceRelating})
        execute(sql::compose(statement, {kept}));
    execute(sql::compose(moveUsers, {kept, other}));
    rememberUid(kept, other);
    ado::Recordset removed = query(sql::compose(deleteOther, {other}));
    if (removed.State() == ado::adStateOpen && !removed.Eof() &&
        vb::CLng(removed(QStringLiteral("error_number"))) != 0)
        throw vb::Error(0, QStringLiteral("não foi possível apagar o contacto ") + number +
                               QString::number(other) + QStringLiteral(": ") +
                               text(removed(QStringLiteral("error_descrit"))));
    if (removed.State() == ado::adStateOpen)
        removed.Close();
    ado::Recordset gone = query(sql::compose(selectExists, {other}));
    const bool stillThere = vb::CLng(gone(QStringLiteral("n"))) > 0;
    gone.Close();
    if (stillThere)
        throw vb::Error(0, QStringLiteral("o contacto ") + number + QString::number(other) +
                               QStringLiteral(" não foi apagado"));
    const QJsonObject after = snapshot({kept}, tables);
    server().runWith(sql::compose(insertLog, {kept, other}),
                     {vb::Variant(user_), vb::Variant(json(before)), vb::Variant(json(after))});
    ado::Recordset id = query(QString::fromUtf16(selectLastLog));
    const qint32 mergeId = vb::CLng(id(QStringLiteral("fusao")));
    id.Close();
    execute(sql::compose(stampLog, {mergeId}));
    unit.commit();
    return mergeId;
}

namespace {

// The tables whose rows differ between two snapshots.
QStringList changedTables(const QJsonObject& was, const QJsonObject& is)
{
    QStringList changed;
    QSet<QString> tables;
    for (const QString& t : was.keys() + is.keys())
        tables.insert(t);
    for (const QString& t : tables)
        if (was.value(t).toArray() != is.value(t).toArray())
            changed << t;
    std::sort(changed.begin(), changed.end());
    return changed;
}

// Numbered rows take their own numbers back while this lives; the setting
// is the session's, not the transaction's, so it is put back on every way out.
class OwnNumbers {
  public:
    explicit OwnNumbers(const QString& table) : table_(table)
    {
        ado::Recordset rs = query(sql::compose(selectIdentity, {sql::doubled(table)}));
        on_ = !rs.Eof();
        rs.Close();
        if (on_)
            execute(sql::compose(identityInsert, {table_, u"ON"}));
    }
    ~OwnNumbers()
    {
        if (!on_)
            return;
        try {
            execute(sql::compose(identityInsert, {table_, u"OFF"}));
        } catch (...) {
            // The connection is gone, and the session's setting with it.
        }
    }
    OwnNumbers(const OwnNumbers&) = delete;
    OwnNumbers& operator=(const OwnNumbers&) = delete;

  private:
    QString table_;
    bool on_ = false;
};

// Each row back as it was; the contacts' own rows first.
void insertRows(const QString& table, const QJsonArray& rows)
{
    if (rows.isEmpty())
        return;
    const OwnNumbers numbers(table);
    for (const QJsonValue& value : rows) {
        const QJsonObject row = value.toObject();
        QStringList columns;
        QStringList marks;
        QList<vb::Variant> values;
        for (auto it = row.begin(); it != row.end(); ++it) {
            columns << it.key();
            marks << QStringLiteral("?");
            values << fromJson(it.value());
        }
        server().runWith(sql::compose(insertRow, {table, columns.join(QStringLiteral(", ")),
                                                  marks.join(QStringLiteral(", "))}),
                         values);
    }
}

} // namespace

void ContactMerge::undo(qint32 mergeId)
{
    ado::Recordset log = query(sql::compose(selectLog, {mergeId}));
    if (log.Eof())
        throw vb::Error(0, QStringLiteral("a fusão n.º ") + QString::number(mergeId) +
                               QStringLiteral(" não existe"));
    const qint32 kept = vb::CLng(log(QStringLiteral("contacto_mantido_id")));
    const qint32 other = vb::CLng(log(QStringLiteral("contacto_fundido_id")));
    const bool undone = vb::CBool(log(QStringLiteral("desfeita")));
    const QJsonObject before = parsed(text(log(QStringLiteral("antes"))));
    const QJsonObject after = parsed(text(log(QStringLiteral("depois"))));
    log.Close();
    const QString number = QStringLiteral("n.º ");
    if (undone)
        throw vb::Error(0, QStringLiteral("esta fusão já foi desfeita"));
    requireRight(user_, kept, modCheckPermissions::Change,
                 QStringLiteral("não tem permissão para alterar o contacto ") + number +
                     QString::number(kept));
    TransactionScope unit;
    unit.begin();
    if (const QStringList changed = changedTables(after, snapshot({kept}, contactTables()));
        !changed.isEmpty())
        throw vb::Error(0, QStringLiteral("o contacto ") + number + QString::number(kept) +
                               QStringLiteral(" foi alterado depois da fusão (") +
                               changed.join(QStringLiteral(", ")) + QStringLiteral("); nada foi desfeito"));
    ado::Recordset exists = query(sql::compose(selectExists, {other}));
    const bool otherBack = vb::CLng(exists(QStringLiteral("n"))) > 0;
    exists.Close();
    if (otherBack)
        throw vb::Error(0, QStringLiteral("já existe um contacto ") + number + QString::number(other));
    // Every row naming either contact goes, and each row they had comes back.
    QStringList tables = before.keys();
    for (const QString& t : after.keys())
        if (!tables.contains(t))
            tables << t;
    for (const QString& table : tables) {
        if (table == users || table == contacts)
            continue;
        execute(sql::compose(deleteRows, {table, u"contacto_id", kept, other}));
        if (table == relations)
            execute(sql::compose(deleteRows, {table, u"related_contacto_id", kept, other}));
        if (table == dismissedPairs)
            execute(sql::compose(deleteRows, {table, u"outro_contacto_id", kept, other}));
    }
    execute(sql::compose(deleteRows, {contacts, u"contacto_id", kept, other}));
    insertRows(contacts, before.value(contacts).toArray());
    for (const QString& table : before.keys())
        if (table != contacts && table != users)
            insertRows(table, before.value(table).toArray());
    for (const QJsonValue& row : before.value(users).toArray())
        server().runWith(QString::fromUtf16(relinkUser), {fromJson(row[QStringLiteral("contacto_id")]),
                                                          fromJson(row[QStringLiteral("user_id")])});
    execute(sql::compose(markUndone, {mergeId}));
    unit.commit();
}

QList<MergeRecord> ContactMerge::merges()
{
    QList<MergeRecord> out;
    for (ado::Recordset rs = query(QString::fromUtf16(selectLogs)); !rs.Eof(); rs.MoveNext())
        out.append(
            {vb::CLng(rs(QStringLiteral("fusao_id"))), vb::CLng(rs(QStringLiteral("contacto_mantido_id"))),
             vb::CLng(rs(QStringLiteral("contacto_fundido_id"))), text(rs(QStringLiteral("created_by"))),
             text(rs(QStringLiteral("created_date"))), vb::CBool(rs(QStringLiteral("desfeita")))});
    return out;
}

} // namespace duplicates
