#include "tests/support/CatalogChecks.h"

#include "platform/ado/embedded/EmbeddedServer.h"
#include "platform/dialect/SqlFunctions.h"

#include <QCryptographicHash>
#include <QFile>
#include <sqlite3.h>

namespace testsupport {

namespace {

class Db {
  public:
    Db(const QString& folder, const QString& catalog, int flags)
    {
        const QByteArray path =
            QFile::encodeName(ado::embedded::EmbeddedServer::catalogPath(folder, catalog));
        sqlite3_open_v2(path.constData(), &db_, flags, nullptr);
        sqlite3_busy_timeout(db_, 0);
    }
    ~Db() { sqlite3_close(db_); }
    sqlite3* get() const { return db_; }

    // Every row of a query, each column as text ("∅" for Null).
    QStringList rows(const QByteArray& sql) const
    {
        QStringList out;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql.constData(), -1, &st, nullptr) != SQLITE_OK)
            return {QStringLiteral("erro: ") + QString::fromUtf8(sqlite3_errmsg(db_))};
        while (sqlite3_step(st) == SQLITE_ROW) {
            QStringList cells;
            for (int i = 0; i < sqlite3_column_count(st); ++i)
                cells.append(
                    sqlite3_column_type(st, i) == SQLITE_NULL
                        ? QStringLiteral("∅")
                        : QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i))));
            out.append(cells.join(u'\x1f'));
        }
        sqlite3_finalize(st);
        return out;
    }

  private:
    sqlite3* db_ = nullptr;
};

// The embedded server's collation and functions, so that its indexes read
// in their own order.
void registerCollation(sqlite3* db)
{
    static dialect::FunctionContext context{[] { return 0; }};
    dialect::registerFunctions(db, &context);
}

// The list's trigram index and its own tables: an index, whose bytes
// depend on the order of the writes that made it, not on what it holds.
bool isSearchIndex(const QString& table)
{
    return table.startsWith(QStringLiteral("tbContactos_Lista_Trigramas"), Qt::CaseInsensitive);
}

} // namespace

QByteArray catalogFingerprint(const QString& folder, const QString& catalog, const QStringList& except,
                              qint32 exceptContact)
{
    Db db(folder, catalog, SQLITE_OPEN_READONLY);
    registerCollation(db.get());
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString& table :
         db.rows("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name")) {
        if (except.contains(table, Qt::CaseInsensitive) || table.startsWith(QStringLiteral("sqlite_")) ||
            isSearchIndex(table))
            continue;
        hash.addData(table.toUtf8());
        const bool perContact =
            exceptContact != 0 &&
            !db.rows("SELECT 1 FROM pragma_table_info('" + table.toUtf8() + "') WHERE name = 'contacto_id'")
                 .isEmpty();
        const QByteArray where =
            perContact ? " WHERE contacto_id IS NOT " + QByteArray::number(exceptContact) : QByteArray();
        for (const QString& row :
             db.rows("SELECT * FROM \"" + table.toUtf8() + "\"" + where + " ORDER BY 1, 2"))
            hash.addData(row.toUtf8());
    }
    return hash.result().toHex();
}

CatalogContent catalogContent(const QString& folder, const QString& catalog)
{
    Db db(folder, catalog, SQLITE_OPEN_READONLY);
    registerCollation(db.get());
    CatalogContent content;
    for (const QString& table : db.rows("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT "
                                        "LIKE 'sqlite_%' ORDER BY name")) {
        if (isSearchIndex(table))
            continue;
        QStringList kept;
        for (const QString& column : db.rows("SELECT name FROM pragma_table_info('" + table.toUtf8() +
                                             "') WHERE NOT ((pk = 1 AND type = 'INTEGER' AND name <> "
                                             "'contacto_id') OR name = 'modified_by' OR name LIKE '%_date')"))
            kept << u'"' + column + u'"';
        if (kept.isEmpty())
            continue;
        QStringList rows = db.rows("SELECT " + kept.join(u',').toUtf8() + " FROM \"" + table.toUtf8() + "\"");
        rows.sort();
        content.insert(table, rows);
    }
    return content;
}

QStringList contentDifferences(const CatalogContent& before, const CatalogContent& after)
{
    QStringList out;
    for (auto it = after.begin(); it != after.end(); ++it) {
        const QStringList was = before.value(it.key());
        if (was == it.value())
            continue;
        QStringList gone;
        QStringList came;
        for (const QString& row : was)
            if (!it.value().contains(row))
                gone << row;
        for (const QString& row : it.value())
            if (!was.contains(row))
                came << row;
        out << it.key() + QStringLiteral(": -") + gone.value(0).replace(u'\x1f', u'|') +
                   QStringLiteral(" +") + came.value(0).replace(u'\x1f', u'|') + QStringLiteral(" (") +
                   QString::number(gone.size()) + u'/' + QString::number(came.size()) + u')';
    }
    return out;
}

bool catalogWritableNow(const QString& folder, const QString& catalog)
{
    Db db(folder, catalog, SQLITE_OPEN_READWRITE);
    if (sqlite3_exec(db.get(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    sqlite3_exec(db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
    return true;
}

QString catalogIntegrity(const QString& folder, const QString& catalog)
{
    Db db(folder, catalog, SQLITE_OPEN_READONLY);
    registerCollation(db.get());
    return db.rows("PRAGMA integrity_check").join(u'\n');
}

QStringList incompleteContacts(const QString& folder, const QString& catalog)
{
    Db db(folder, catalog, SQLITE_OPEN_READONLY);
    registerCollation(db.get());
    // What is wrong, and the contacts it is wrong for.
    const std::pair<const char*, const char*> checks[] = {
        {"particular sem detalhe: ",
         "SELECT contacto_id FROM tbContactos WHERE genero_id = 1 AND contacto_id "
         "NOT IN (SELECT contacto_id FROM tbContactos_Singulares)"},
        {"instituição sem detalhe: ",
         "SELECT contacto_id FROM tbContactos WHERE genero_id = 2 AND contacto_id "
         "NOT IN (SELECT contacto_id FROM tbContactos_Institucionais)"},
        {"membro sem permissões: ",
         "SELECT l.contacto_id FROM tbContactos_Tipos_Links l JOIN tbContactos_Tipos t ON "
         "t.contacto_tipo_id = l.contacto_tipo_id WHERE t.descrit = 'Contactos Quarvenses' AND "
         "l.contacto_id NOT IN (SELECT contacto_id FROM tbTulvas_Contactos_Permitions)"},
        {"permissões de contacto inexistente: ",
         "SELECT contacto_id FROM tbTulvas_Contactos_Permitions WHERE contacto_id NOT IN "
         "(SELECT contacto_id FROM tbContactos)"},
        // The host's list row of each contact, as the contacts' view reads it.
        {"linha da lista diferente do contacto: ",
         "SELECT c.contacto_id FROM tbContactos c LEFT JOIN vwContactos_Quarvenses_Completos v ON "
         "v.contacto_id = c.contacto_id LEFT JOIN tbContactos_Lista l ON l.contacto_id = c.contacto_id "
         "WHERE v.contacto_id IS NOT NULL AND (l.contacto_id IS NULL OR l.genero_id <> v.genero_id OR "
         "l.nome_union IS NOT ifnull(v.nome_union, '') OR l.no_contribuinte IS NOT "
         "ifnull(v.no_contribuinte, '') OR l.telefone IS NOT ifnull(v.telefone, '') OR l.email IS NOT "
         "ifnull(v.email, '') OR l.localidade IS NOT ifnull(v.localidade, ''))"},
        {"linha da lista de contacto inexistente: ",
         "SELECT contacto_id FROM tbContactos_Lista WHERE contacto_id NOT IN "
         "(SELECT contacto_id FROM tbContactos)"}};
    QStringList problems;
    for (const auto& [problem, query] : checks)
        for (const QString& id : db.rows(query))
            problems.append(QString::fromUtf8(problem) + id);
    return problems;
}

QString searchIndexIntegrity(const QString& folder, const QString& catalog)
{
    Db db(folder, catalog, SQLITE_OPEN_READWRITE);
    registerCollation(db.get());
    char* message = nullptr;
    const int rc = sqlite3_exec(db.get(),
                                "INSERT INTO tbContactos_Lista_Trigramas (tbContactos_Lista_Trigramas, rank) "
                                "VALUES ('integrity-check', 1)",
                                nullptr, nullptr, &message);
    const QString answer = rc == SQLITE_OK ? QStringLiteral("ok") : QString::fromUtf8(message);
    sqlite3_free(message);
    return answer;
}

} // namespace testsupport
