// The two dialects' scripts must declare one schema: same tables, columns,
// types, keys, defaults, indexes and view columns, the embedded side read
// from the catalog SQLite builds from its scripts. The SQL Server procedures
// are checked against the tables they must clear.
#include "tests/platform/ado/schema/CatalogFixture.h"
#include "tests/platform/ado/schema/ScriptDefinitions.h"

using namespace schematest;

namespace {

ScriptDefinitions serverScript()
{
    return readServerScript(ado::embedded::schemaFolder() + QStringLiteral("/sqlserver.sql"));
}

std::string describe(const ColumnDefinition& c)
{
    return QStringLiteral("%1 %2%3%4 pk=%5 default=%6")
        .arg(c.name, c.type, c.notNull ? QStringLiteral(" NOT NULL") : QString(),
             c.identity ? QStringLiteral(" IDENTITY") : QString())
        .arg(c.primaryKey)
        .arg(c.defaultValue)
        .toStdString();
}

// Collation is the embedded dialect's own; the rest must agree.
ColumnDefinition comparable(ColumnDefinition column)
{
    column.collation.clear();
    return column;
}

bool isText(const ColumnDefinition& column)
{
    return column.type.contains(QLatin1String("CHAR")) || column.type.contains(QLatin1String("TEXT"));
}

class SchemaScripts : public CatalogTest {};

} // namespace

TEST_F(SchemaScripts, BothDialectsDeclareTheSameSchema)
{
    create(false);
    connection.Close();
    const ScriptDefinitions server = serverScript();
    const ScriptDefinitions embedded = readCatalog(catalogFile());
    ASSERT_GE(server.tables.size(), 40);

    EXPECT_EQ(server.tables.keys(), embedded.tables.keys());
    for (auto it = server.tables.cbegin(); it != server.tables.cend(); ++it) {
        const QList<ColumnDefinition> other = embedded.tables.value(it.key());
        ASSERT_EQ(it->size(), other.size()) << it.key().toStdString();
        for (qsizetype i = 0; i < it->size(); ++i) {
            EXPECT_EQ(comparable((*it)[i]), comparable(other[i]))
                << it.key().toStdString() << ": " << describe((*it)[i]) << " | " << describe(other[i]);
            if (isText(other[i])) {
                EXPECT_EQ(other[i].collation, QStringLiteral("QV_CI"))
                    << it.key().toStdString() << "." << other[i].name.toStdString();
            }
        }
    }
    EXPECT_EQ(server.indexes, embedded.indexes);
    EXPECT_EQ(server.views, embedded.views);
    EXPECT_EQ(server.views.value(QStringLiteral("vwContactos_Quarvenses_Completos")),
              (QStringList{"contacto_id", "genero_id", "nome_union", "titulo", "nome", "apelido", "sexo",
                           "no_contribuinte", "chave", "morada", "codigo_postal", "localidade", "pais",
                           "telefone", "email"}));

    // What the system names must be there.
    for (const QString& table :
         QStringLiteral(
             "tbContactos tbContactos_Singulares tbContactos_Institucionais "
             "tbContactos_Institucionais_Areas_Negocio tbContactos_Emails tbContactos_Tipos "
             "tbContactos_Tipos_Links tbContactos_Eventos tbContactos_Eventos_Tipos tbUsers tbGroups "
             "tbGroups_Users_Links tbConfig tbArquivo_Documental tbTulvas_Contactos "
             "tbTulvas_Contactos_Permitions tbTulvas_Contactos_Permitions_Criar_Groups "
             "tbTulvas_Contactos_Permitions_Criar_Users tbTulvas_Contactos_Tipos tbContactos_Comunicacoes "
             "tbClientes_Apolices_Permitions tbSeguradoras_P_Contas_Permitions")
             .split(u' '))
        EXPECT_TRUE(server.tables.contains(table)) << table.toStdString();
    const auto columnsOf = [&](const char* table) {
        QStringList names;
        for (const ColumnDefinition& c : server.tables.value(QLatin1String(table)))
            names.append(c.name);
        return names;
    };
    for (const char* name : {"contacto_id", "genero_id", "nome_union", "no_contribuinte", "chave",
                             "user_delete", "created_by", "created_date", "modified_by", "modified_date"})
        EXPECT_TRUE(columnsOf("tbContactos").contains(QLatin1String(name))) << name;
    EXPECT_EQ(columnsOf("tbArquivo_Documental"),
              (QStringList{"arquivo_id", "contacto_id", "tipo_id", "related_id", "filename", "path",
                           "created_date", "created_by"}));
    EXPECT_TRUE(server.tables.value(QStringLiteral("tbArquivo_Documental")).first().identity);

    // Every table is reached by contacto_id, and the lookups the system makes
    // by name or code, through a key or an index.
    const auto leads = [&](const QString& table, const QString& column) {
        const QList<ColumnDefinition> columns = server.tables.value(table);
        for (const ColumnDefinition& c : columns)
            if (c.primaryKey == 1 && c.name == column)
                return true;
        for (const IndexDefinition& index : server.indexes)
            if (index.table == table && index.columns.value(0) == column)
                return true;
        return false;
    };
    for (auto it = server.tables.cbegin(); it != server.tables.cend(); ++it) {
        for (const ColumnDefinition& c : *it) {
            if (c.name == QLatin1String("contacto_id") ||
                (it.key().endsWith(QLatin1String("_Permitions")) && c.primaryKey == 1) ||
                (it.key().contains(QLatin1String("_Permitions_Criar_")) && c.name == QLatin1String("code"))) {
                EXPECT_TRUE(leads(it.key(), c.name)) << it.key().toStdString() << "." << c.name.toStdString();
            }
        }
    }
    for (const auto& [table, column] : {std::pair{"tbUsers", "descrit"},
                                        {"tbContactos_Tipos", "descrit"},
                                        {"tbContactos", "no_contribuinte"},
                                        {"tbGroups_Users_Links", "user_id"},
                                        {"tbContactos_Tipos_Links", "contacto_tipo_id"},
                                        {"tbConfig", "variavel"},
                                        {"tbContactos_Relacionados", "related_contacto_id"}})
        EXPECT_TRUE(leads(QLatin1String(table), QLatin1String(column))) << table << "." << column;

    // The SQL Server procedure names its tables one by one: it must not forget
    // one, nor the permission rows of a contact's own records.
    const QString remove = server.procedures.value(QStringLiteral("spDELETE_CONTACTO"));
    const QString add = server.procedures.value(QStringLiteral("spADD_CONTACTO_TO_GROUP"));
    ASSERT_FALSE(remove.isEmpty());
    ASSERT_FALSE(add.isEmpty());
    for (const QString& body : {remove, add}) {
        EXPECT_TRUE(body.contains(QLatin1String("SET NOCOUNT ON;")));
        EXPECT_TRUE(body.contains(QLatin1String("SAVE TRANSACTION")))
            << "nested in the caller's transaction, undone alone";
        EXPECT_TRUE(body.contains(QLatin1String("error_number")) &&
                    body.contains(QLatin1String("error_descrit")));
        EXPECT_TRUE(body.contains(QLatin1String("XACT_STATE() = -1")))
            << "a doomed transaction makes the call fail, for the caller to roll back";
    }
    // A table a site lacks is passed over; each statement runs a level down,
    // where its failure reaches the CATCH instead of ending the procedure
    // with its transaction open (Msg 266).
    EXPECT_EQ(remove.count(QLatin1String("IF OBJECT_ID(N'dbo.")),
              remove.count(QLatin1String("EXEC sp_executesql")));

    const auto position = [&](const QString& statement) {
        const qsizetype at = remove.indexOf(statement);
        EXPECT_GE(at, 0) << statement.toStdString();
        return at;
    };
    for (auto it = server.tables.cbegin(); it != server.tables.cend(); ++it) {
        // The list's row goes with the contact by the server's own trigger.
        if (it.key() == QLatin1String("tbContactos") || it.key() == QLatin1String("tbUsers") ||
            it.key() == QLatin1String("tbContactos_Lista"))
            continue;
        const auto key = std::find_if(it->cbegin(), it->cend(),
                                      [](const ColumnDefinition& c) { return c.primaryKey == 1; });
        if (std::none_of(it->cbegin(), it->cend(),
                         [](const ColumnDefinition& c) { return c.name == QLatin1String("contacto_id"); }))
            continue;
        const qsizetype rows =
            position(QStringLiteral("DELETE FROM %1 WHERE contacto_id = @id;").arg(it.key()));
        const QString companion = it.key() + QStringLiteral("_Permitions");
        if (key != it->cend() && key->name != QLatin1String("contacto_id") &&
            server.tables.contains(companion)) {
            const qsizetype rights = position(
                QStringLiteral("DELETE FROM %1 WHERE %2 IN (SELECT %2 FROM %3 WHERE contacto_id = @id);")
                    .arg(companion, key->name, it.key()));
            EXPECT_LT(rights, rows) << companion.toStdString() << " before " << it.key().toStdString();
        }
    }
    const qsizetype contact = position(QStringLiteral("DELETE FROM tbContactos WHERE contacto_id = @id;"));
    EXPECT_LT(
        position(QStringLiteral("DELETE FROM tbContactos_Relacionados WHERE related_contacto_id = @id;")),
        contact);
    EXPECT_LT(position(QStringLiteral("UPDATE tbUsers SET contacto_id = NULL WHERE contacto_id = @id;")),
              contact);
}
