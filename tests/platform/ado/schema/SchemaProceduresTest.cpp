// The embedded server's two stored procedures on a demonstration catalog.
#include "tests/platform/ado/schema/CatalogFixture.h"

#include "platform/ado/embedded/SqliteDatabase.h"
#include "platform/dialect/SqlFunctions.h"

using namespace schematest;

namespace {

constexpr int someone = 15; // an individual with addresses, events, notes, a communication...

class SchemaProcedures : public CatalogTest {
  protected:
    void SetUp() override { create(true); }

    QStringList attachedTables()
    {
        return column(QStringLiteral(
            "SELECT t.TABLE_NAME FROM INFORMATION_SCHEMA.TABLES t WHERE t.TABLE_TYPE = 'BASE TABLE' "
            "AND t.TABLE_NAME NOT IN ('tbContactos', 'tbUsers') AND EXISTS (SELECT 1 FROM "
            "INFORMATION_SCHEMA.COLUMNS c WHERE c.TABLE_NAME = t.TABLE_NAME AND c.COLUMN_NAME = "
            "'contacto_id') ORDER BY t.TABLE_NAME"));
    }

    // A row for the contact in every table that has a contacto_id and none for
    // it yet, with whatever each column needs to be accepted.
    void attachEverywhere(int id)
    {
        for (const QString& table : attachedTables()) {
            if (count(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE contacto_id = %2").arg(table).arg(id)) >
                0)
                continue;
            QStringList names{QStringLiteral("contacto_id")};
            QStringList values{QString::number(id)};
            for (ado::Recordset rs = connection.Execute(
                     QStringLiteral("SELECT COLUMN_NAME, IS_NULLABLE, COLUMN_DEFAULT, DATA_TYPE FROM "
                                    "INFORMATION_SCHEMA.COLUMNS WHERE TABLE_NAME = '") +
                     table + QStringLiteral("' ORDER BY ORDINAL_POSITION"));
                 !rs.Eof(); rs.MoveNext()) {
                const QString type = vb::CStr(rs(QStringLiteral("DATA_TYPE"))).toUpper();
                if (vb::CStr(rs(QStringLiteral("IS_NULLABLE"))) == QLatin1String("YES") ||
                    !rs(QStringLiteral("COLUMN_DEFAULT")).isNull() ||
                    vb::CStr(rs(QStringLiteral("COLUMN_NAME"))) == QLatin1String("contacto_id"))
                    continue;
                names.append(vb::CStr(rs(QStringLiteral("COLUMN_NAME"))));
                values.append(type.contains(QLatin1String("CHAR")) || type.contains(QLatin1String("TEXT"))
                                  ? QStringLiteral("'x'")
                              : type.contains(QLatin1String("DATE")) ? QStringLiteral("GETDATE()")
                                                                     : QStringLiteral("901"));
            }
            connection.Execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                   .arg(table, names.join(u','), values.join(u',')));
        }
        // A policy of the contact, with its permission row keyed by the policy.
        connection.Execute(
            QStringLiteral(
                "INSERT INTO tbClientes_Apolices_Permitions (apolice_main_id, user_code, group_code) "
                "SELECT apolice_main_id, '$10011111', '' FROM tbClientes_Apolices WHERE contacto_id = %1")
                .arg(id));
        connection.Execute(QStringLiteral("INSERT INTO tbContactos_Relacionados (contacto_id, "
                                          "related_contacto_id, descrit) VALUES (1, %1, 'Sócio')")
                               .arg(id));
        connection.Execute(
            QStringLiteral("UPDATE tbUsers SET contacto_id = %1 WHERE descrit = 'rui'").arg(id));
    }

    // Every row anywhere that belongs to or points at the contact.
    int rowsOf(int id)
    {
        int rows = 0;
        for (const char* sql :
             {"SELECT COUNT(*) FROM tbContactos_Relacionados WHERE related_contacto_id = %1",
              "SELECT COUNT(*) FROM tbUsers WHERE contacto_id = %1",
              "SELECT COUNT(*) FROM tbContactos WHERE contacto_id = %1",
              "SELECT COUNT(*) FROM tbClientes_Apolices_Permitions WHERE apolice_main_id IN "
              "(SELECT apolice_main_id FROM tbClientes_Apolices WHERE contacto_id = %1)"})
            rows += count(QString::fromUtf8(sql).arg(id));
        for (const QString& table : attachedTables())
            rows +=
                count(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE contacto_id = %2").arg(table).arg(id));
        return rows;
    }

    int allRows()
    {
        int rows = 0;
        for (const QString& table :
             column(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name LIKE 'tb%' "
                                   "AND name NOT LIKE 'tbContactos_Lista_Trigramas%'")))
            rows += count(QStringLiteral("SELECT COUNT(*) FROM ") + table);
        return rows;
    }

    int transactionCount() { return count(QStringLiteral("SELECT @@TRANCOUNT as valor")); }
    std::pair<int, QString> removeContact(int id)
    {
        return call(QStringLiteral("EXECUTE spDELETE_CONTACTO %1,0").arg(id));
    }
    // spADD_CONTACTO_TO_GROUP with the arguments as written after its name.
    std::pair<int, QString> addToFile(const QString& arguments)
    {
        return call(QStringLiteral("EXECUTE spADD_CONTACTO_TO_GROUP ") + arguments);
    }

    // Statements the T-SQL batches cannot carry (a trigger), straight on the file.
    void onCatalogFile(const char* sql)
    {
        ado::embedded::SqliteDatabase database(catalogFile(), ado::embedded::SqliteDatabase::ReadWrite);
        dialect::FunctionContext functions;
        dialect::registerFunctions(database.get(), &functions);
        database.exec(sql);
    }
};

} // namespace

// A failure late in the work (the contact's own row refused) leaves every
// attached row in place, in its own transaction and inside the caller's, where
// the caller's own work survives; once the row may go, every attached row goes
// with it, undone with the caller's transaction, and nothing else goes.
TEST_F(SchemaProcedures, DeletingAContactRemovesEveryAttachedRowOrNone)
{
    attachEverywhere(someone);
    const int own = rowsOf(someone);
    ASSERT_GT(own, attachedTables().size());
    onCatalogFile("CREATE TRIGGER tbContactos_kept BEFORE DELETE ON tbContactos BEGIN SELECT RAISE(ABORT, "
                  "'registo retido'); END");

    auto [number, text] = removeContact(someone);
    EXPECT_EQ(number, 3);
    EXPECT_TRUE(text.startsWith(QStringLiteral("o servidor recusou a eliminação (")) &&
                text.contains(QStringLiteral("registo retido")))
        << text.toStdString();
    EXPECT_EQ(transactionCount(), 0);
    EXPECT_EQ(rowsOf(someone), own);

    connection.BeginTrans();
    connection.Execute(QStringLiteral("UPDATE tbConfig SET valor = 'alterado' WHERE variavel = 'Empresa'"));
    EXPECT_EQ(removeContact(someone).first, 3);
    EXPECT_EQ(transactionCount(), 1);
    EXPECT_EQ(rowsOf(someone), own);
    connection.CommitTrans();
    EXPECT_EQ(column(QStringLiteral("SELECT valor FROM tbConfig WHERE variavel = 'Empresa'")),
              QStringList{"alterado"});

    onCatalogFile("DROP TRIGGER tbContactos_kept");
    const int before = allRows();
    connection.BeginTrans();
    EXPECT_EQ(removeContact(someone), std::pair(0, QString()));
    EXPECT_EQ(rowsOf(someone), 0);
    EXPECT_EQ(transactionCount(), 1) << "the caller's transaction stays the caller's";
    connection.RollbackTrans();
    EXPECT_EQ(rowsOf(someone), own);

    EXPECT_EQ(removeContact(someone), std::pair(0, QString()));
    EXPECT_EQ(transactionCount(), 0);
    EXPECT_EQ(rowsOf(someone), 0);
    EXPECT_EQ(allRows(), before - own + 1)
        << "only the contact's rows go; the user loses its link, not its row";
    EXPECT_EQ(column(QStringLiteral("SELECT contacto_id FROM tbUsers WHERE descrit = 'rui'")),
              QStringList{"NULL"});
}

// Any value but 0 protects; without the column nobody is protected.
TEST_F(SchemaProcedures, DeletingRefusesProtectedAndUnknownContacts)
{
    const int before = allRows();
    EXPECT_EQ(removeContact(2), std::pair(2, QStringLiteral("o contacto está protegido pelo sistema.")));
    connection.Execute(QStringLiteral("UPDATE tbContactos SET user_delete = 7 WHERE contacto_id = 3"));
    EXPECT_EQ(removeContact(3).first, 2);
    EXPECT_EQ(removeContact(999), std::pair(1, QStringLiteral("o contacto indicado não existe.")));
    EXPECT_EQ(allRows(), before);

    onCatalogFile("ALTER TABLE tbContactos DROP COLUMN user_delete");
    EXPECT_EQ(removeContact(2), std::pair(0, QString()));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM tbContactos WHERE contacto_id = 2")), 0);
}

TEST_F(SchemaProcedures, AddingToAFileCreatesTheMembershipOrRefusesAndUndoesItAll)
{
    const QString where = QStringLiteral(" WHERE contacto_id = 31");
    const auto links = [&] {
        return count(QStringLiteral(
            "SELECT COUNT(*) FROM tbContactos_Tipos_Links WHERE contacto_id = 31 AND contacto_tipo_id = 1"));
    };
    ASSERT_EQ(links(), 0);
    ASSERT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM tbTulvas_Contactos") + where), 0);

    EXPECT_EQ(addToFile(QStringLiteral("31, 'Contactos Quarvenses','$00011111','$10021111'")),
              std::pair(0, QString()));
    EXPECT_EQ(links(), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM tbTulvas_Contactos") + where), 1);
    EXPECT_EQ(column(QStringLiteral("SELECT group_code FROM tbTulvas_Contactos_Permitions") + where),
              QStringList{"$00011111"});
    EXPECT_EQ(column(QStringLiteral("SELECT user_code FROM tbTulvas_Contactos_Permitions") + where),
              QStringList{"$10021111"});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM vwContactos_Quarvenses_Completos") + where), 1);

    // Again, with the name in other letters: one membership, the new masks.
    EXPECT_EQ(addToFile(QStringLiteral("31, 'CONTACTOS quarvenses','$00021111',''")).first, 0);
    EXPECT_EQ(links(), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM tbTulvas_Contactos_Permitions") + where), 1);
    EXPECT_EQ(column(QStringLiteral("SELECT group_code FROM tbTulvas_Contactos_Permitions") + where),
              QStringList{"$00021111"});

    // A mask with an apostrophe is stored as given, not spliced into SQL.
    EXPECT_EQ(addToFile(QStringLiteral("32, 'Clientes','$0001''1111','?'")).first, 0);
    EXPECT_EQ(column(QStringLiteral("SELECT group_code FROM tbClientes_Permitions WHERE contacto_id = 32")),
              QStringList{"$0001'1111"});

    // Unknown files and contacts, and values longer than their columns, are
    // refused, never cut, as the server's procedure refuses them.
    const int before = allRows();
    EXPECT_EQ(addToFile(QStringLiteral("31, 'Ficheiro Inexistente','$00011111',''")),
              std::pair(1, QStringLiteral("o ficheiro «Ficheiro Inexistente» não existe")));
    EXPECT_EQ(addToFile(QStringLiteral("999, 'Clientes','$00011111',''")),
              std::pair(2, QStringLiteral("o contacto indicado não existe")));
    const std::pair tooLong(
        4, QStringLiteral("o nome do ficheiro tem mais de 80 caracteres ou uma máscara mais de 400"));
    EXPECT_EQ(addToFile(QStringLiteral("31, N'") + QString(81, u'F') + QStringLiteral("',N'$00011111',N''")),
              tooLong);
    EXPECT_EQ(addToFile(QStringLiteral("31, N'Clientes',N'") + QString(401, u'1') + QStringLiteral("',N''")),
              tooLong);
    EXPECT_EQ(allRows(), before);

    // A file whose table is missing fails after the membership was written:
    // the membership goes too, alone or inside the caller's transaction.
    connection.Execute(QStringLiteral("INSERT INTO tbContactos_Tipos (descrit, related, inactivo) VALUES "
                                      "('Arquivo Morto', 'tbArquivo_Morto', 0)"));
    const int withType = allRows();
    auto [number, text] = addToFile(QStringLiteral("31, 'Arquivo Morto','$00011111',''"));
    EXPECT_EQ(number, 3);
    EXPECT_TRUE(text.startsWith(QStringLiteral("o servidor recusou a operação (")) && !text.endsWith(u'.'))
        << text.toStdString();
    EXPECT_EQ(allRows(), withType);

    connection.BeginTrans();
    EXPECT_EQ(addToFile(QStringLiteral("31, 'Clientes','$00011111',''")).first, 0);
    EXPECT_EQ(addToFile(QStringLiteral("31, 'Arquivo Morto','$00011111',''")).first, 3);
    EXPECT_EQ(transactionCount(), 1);
    connection.CommitTrans();
    EXPECT_EQ(allRows(), withType + 3)
        << "the caller's filing in Clientes stays, the failed one leaves nothing";
}
