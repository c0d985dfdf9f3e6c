#include "platform/dialect/SqlFunctions.h"
#include "platform/dialect/TSqlDialect.h"
#include "tests/platform/VbFailure.h"
#include <QStringList>
#include <gtest/gtest.h>
#include <sqlite3.h>

using dialect::Statement;

namespace {

// A small database with the dialect's functions, and the T-SQL run on it.
class Dialect : public ::testing::Test {
  protected:
    void SetUp() override
    {
        sqlite3_open(":memory:", &db);
        context.trancount = [this] { return trancount; };
        dialect::registerFunctions(db, &context);
        run("CREATE TABLE tbContactos (contacto_id INTEGER PRIMARY KEY AUTOINCREMENT, nome_union TEXT "
            "COLLATE QV_CI, "
            "no_contribuinte TEXT, user_code TEXT, group_code TEXT)");
        run("INSERT INTO tbContactos (nome_union, no_contribuinte, user_code, group_code) VALUES "
            "('Conceição Álvares', '500 100 200', '$00011000U71001', 'G11010'), "
            "('José Ribeiro', '123456789', 'U72100', 'G21000'), ('ANA SILVA', NULL, 'U71311', 'G13111')");
    }
    void TearDown() override { sqlite3_close(db); }

    // Every row of the last statement, each as "a|b|c".
    QStringList run(const char* tsql)
    {
        QStringList rows;
        for (const Statement& s : dialect::translate(QString::fromUtf8(tsql))) {
            if (s.kind != Statement::Kind::Sql)
                continue;
            rows.clear();
            sqlite3_stmt* st = nullptr;
            const QByteArray sql = s.sql.toUtf8();
            if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &st, nullptr) != SQLITE_OK) {
                ADD_FAILURE() << sqlite3_errmsg(db) << " in " << sql.constData();
                return rows;
            }
            while (sqlite3_step(st) == SQLITE_ROW) {
                QStringList cells;
                for (int i = 0; i < sqlite3_column_count(st); ++i)
                    cells.append(
                        sqlite3_column_type(st, i) == SQLITE_NULL
                            ? QStringLiteral("NULL")
                            : QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                                                sqlite3_column_bytes(st, i)));
                rows.append(cells.join(u'|'));
            }
            sqlite3_finalize(st);
        }
        return rows;
    }
    QString one(const char* tsql)
    {
        const QStringList rows = run(tsql);
        return rows.size() == 1 ? rows.first() : QStringLiteral("<%1 rows>").arg(rows.size());
    }

    sqlite3* db = nullptr;
    int trancount = 0;
    dialect::FunctionContext context;
};

QString refusal(const char* tsql)
{
    const auto refused = vbtest::raised([&] { dialect::translate(QString::fromUtf8(tsql)); });
    EXPECT_TRUE(!refused || refused->number() == -2147217900) << tsql;
    return refused ? refused->description() : QString();
}

} // namespace

TEST_F(Dialect, TheComponentsStatementFormsGiveTheRightRows)
{
    EXPECT_EQ(one("SELECT contacto_id FROM tbContactos WHERE replace(no_contribuinte,' ','') = '500100200'"),
              "1");
    EXPECT_EQ(one("SELECT 'O' + CHAR(39) + 'Neil' as nome"), "O'Neil");
    EXPECT_EQ(one("SELECT contacto_id FROM tbContactos WHERE nome_union = 'conceição ÁLVARES'"), "1");
    EXPECT_EQ(one("SELECT CONVERT(DATETIME,'2024-03-05 14:07:09',102) as d"), "2024-03-05 14:07:09.000");
    EXPECT_EQ(one("SELECT CONVERT(DATETIME,'2024-03-05',102) as d"), "2024-03-05 00:00:00.000");
    EXPECT_EQ(one("INSERT INTO tbContactos (nome_union) VALUES ('Novo'); SELECT @@Identity as last"), "4");
    trancount = 2;
    EXPECT_EQ(one("select @@trancount as valor"), "2");
    EXPECT_EQ(one("SELECT TOP 1 contacto_id FROM tbContactos ORDER BY contacto_id DESC"), "4");
    EXPECT_EQ(one("SELECT ISNULL(no_contribuinte, '-') + '!' FROM tbContactos WHERE contacto_id = 3"), "-!");
    EXPECT_EQ(one("SELECT LEN('abc  ') as n, SUBSTRING('abcdef', 2, 3) as s, UPPER('ção') as u, "
                  "CHARINDEX('c', 'abc') as i"),
              "3|bcd|ÇÃO|3");
    EXPECT_EQ(one("SELECT contacto_id + 1 * 2 - 1 as n FROM tbContactos WHERE contacto_id = 1"), "2");
    EXPECT_EQ(one("SELECT N'€ ' + nome_union FROM [tbContactos] WHERE [contacto_id] = 2"), "€ José Ribeiro");
    EXPECT_EQ(one("SELECT '12' + 1 as n"), "13") << "a text beside a number is read as one";
    EXPECT_EQ(one("SELECT NULL + 'x' as n"), "NULL");
    EXPECT_EQ(one("SET NOCOUNT ON; SELECT COUNT(*) FROM tbContactos WHERE nome_union IS NOT NULL"), "4");
    // A merge undone gives rows their own numbers back the SQL Server way.
    EXPECT_EQ(one("SET IDENTITY_INSERT tbContactos ON; SELECT COLUMNPROPERTY(OBJECT_ID('tbContactos'), "
                  "'contacto_id', 'IsIdentity') as a, COLUMNPROPERTY(OBJECT_ID('tbContactos'), 'nome_union', "
                  "'IsIdentity') as b; SET IDENTITY_INSERT [tbContactos] OFF"),
              "1|0");
}

// LIKE as SQL Server reads it, under each kind of collation.
TEST_F(Dialect, LikeFollowsSqlServer)
{
    EXPECT_EQ(run("SELECT contacto_id FROM tbContactos WHERE (user_code Like '%U71[012][012][012]%' )"),
              QStringList{"1"});
    EXPECT_EQ(
        run("SELECT contacto_id FROM tbContactos WHERE group_code LIKE '%G1[^0]%' ORDER BY contacto_id"),
        (QStringList{"1", "3"}));
    EXPECT_EQ(run("SELECT contacto_id FROM tbContactos WHERE nome_union LIKE '%conceição%' OR nome_union "
                  "like 'ana_silva'"),
              (QStringList{"1", "3"}));
    EXPECT_EQ(
        run("SELECT contacto_id FROM tbContactos WHERE nome_union NOT LIKE '%[a-j]os%' AND contacto_id < 4"),
        (QStringList{"1", "3"}));
    EXPECT_EQ(one("SELECT contacto_id FROM tbContactos WHERE user_code LIKE '[$]0001%'"), "1");
    EXPECT_EQ(one("SELECT '100%' LIKE '100[%]' as m, 'a[b' LIKE 'a[b' as n"), "1|1");
    EXPECT_EQ(one("SELECT NULL LIKE '%' as m"), "NULL");

    // An accent-insensitive collation makes LIKE ignore accents.
    run("INSERT INTO tbContactos (nome_union) VALUES ('António Marques'), ('ANTÓNIO JESUS'), ('Antonio "
        "Banderas')");
    EXPECT_EQ(run("SELECT nome_union FROM tbContactos WHERE nome_union LIKE '%antonio%'"),
              QStringList{"Antonio Banderas"})
        << "the default collation minds accents";
    EXPECT_EQ(run("SELECT nome_union FROM tbContactos WHERE nome_union COLLATE Latin1_General_CI_AI LIKE "
                  "'%antonio%' ORDER BY nome_union"),
              (QStringList{"Antonio Banderas", "ANTÓNIO JESUS", "António Marques"}));
    EXPECT_EQ(run("SELECT contacto_id FROM tbContactos WHERE nome_union collate Latin1_General_CI_AI like "
                  "'%conceiçao alvares%' AND contacto_id < 10"),
              QStringList{"1"})
        << "accents in the pattern and in the text alike";
    EXPECT_EQ(run("SELECT contacto_id FROM tbContactos WHERE contacto_id < 4 AND nome_union COLLATE "
                  "Latin1_General_CI_AI NOT LIKE '%CONCEICAO%' ORDER BY contacto_id"),
              (QStringList{"2", "3"}));
    EXPECT_EQ(run("SELECT contacto_id FROM tbContactos WHERE nome_union COLLATE Latin1_General_CI_AS LIKE "
                  "'%conceicao%'"),
              QStringList{})
        << "an accent-sensitive collation keeps them";
    EXPECT_TRUE(refusal("SELECT a FROM t WHERE COLLATE Latin1_General_CI_AI LIKE 'x'").contains("COLLATE"));

    // A binary collation minds case and accents: LIKE is then SQLite's GLOB
    // (which a trigram index answers), its own "*" and "?" standing for
    // themselves, an unclosed bracket too.
    run("INSERT INTO tbContactos (nome_union) VALUES ('rui*1'), ('Rui*2'), ('rúi?3'), ('rui[4'), ('ruiX5')");
    const auto names = [&](const char* pattern, const char* collation = "Latin1_General_BIN") {
        return run(QStringLiteral("SELECT nome_union FROM tbContactos WHERE nome_union COLLATE %1 LIKE N'%2' "
                                  "ORDER BY contacto_id")
                       .arg(QLatin1String(collation), QString::fromUtf8(pattern))
                       .toUtf8()
                       .constData());
    };
    EXPECT_EQ(names("rui%"), (QStringList{"rui*1", "rui[4", "ruiX5"}));
    EXPECT_EQ(names("rui*_"), QStringList{"rui*1"});
    EXPECT_EQ(names("r_i?%"), QStringList{"rúi?3"}) << "«_» is any one character, «?» itself";
    EXPECT_EQ(names("rui?%"), QStringList{}) << "ú is not u";
    EXPECT_EQ(names("r%?3"), QStringList{"rúi?3"});
    EXPECT_EQ(names("rui[[]%"), QStringList{"rui[4"});
    EXPECT_EQ(names("rui[%"), QStringList{"rui[4"}) << "an unclosed bracket is itself";
    EXPECT_EQ(names("rui[A-Z]%", "Latin1_General_CS_AS"), QStringList{"ruiX5"});
    EXPECT_EQ(run("SELECT nome_union FROM tbContactos WHERE nome_union COLLATE Latin1_General_BIN NOT LIKE "
                  "N'%[0-9]' AND contacto_id > 40 ORDER BY contacto_id"),
              QStringList{})
        << "NOT LIKE";
    EXPECT_TRUE(
        refusal("SELECT a FROM t WHERE a COLLATE Latin1_General_BIN LIKE b").contains("padrão calculado"));
}

// Texts holding ";", comment marks, brackets and accents reach the database
// as typed through the card's save (TypedTextCorpusTest); here, what only a
// statement shows: a NUL inside a text, and comments outside one.
TEST_F(Dialect, BatchesSplitIntoStatementsAndCarryTextUntouched)
{
    // A NUL inside a text survives, although SQLite stops at one in statement text.
    const QList<Statement> withNul =
        dialect::translate(QStringLiteral("SELECT 'a") + QChar(0) + QStringLiteral("b' as t"));
    ASSERT_EQ(withNul.size(), 1);
    EXPECT_FALSE(withNul[0].sql.contains(QChar(0)));
    EXPECT_EQ(one("SELECT 'x' -- a comment\n + 'y' /* another */ as t"), "xy");
    EXPECT_EQ(dialect::translate(QStringLiteral("SELECT 'a;b' as t; SELECT 'c'")).size(), 2);

    const QList<Statement> s = dialect::translate(
        QStringLiteral("BEGIN TRANSACTION; UPDATE tbContactos SET nome_union = 'x' WHERE contacto_id = 1; "
                       "COMMIT TRAN; ROLLBACK; "
                       "EXECUTE spADD_CONTACTO_TO_GROUP 17, 'tbTulvas_Contactos','$0001','$0002' ; EXEC "
                       "dbo.spDELETE_CONTACTO -3,0"));
    ASSERT_EQ(s.size(), 6);
    EXPECT_EQ(s[0].kind, Statement::Kind::BeginTransaction);
    EXPECT_EQ(s[1].kind, Statement::Kind::Sql);
    EXPECT_EQ(s[2].kind, Statement::Kind::CommitTransaction);
    EXPECT_EQ(s[3].kind, Statement::Kind::RollbackTransaction);
    EXPECT_EQ(s[4].kind, Statement::Kind::Execute);
    EXPECT_EQ(s[4].procedure, QStringLiteral("spADD_CONTACTO_TO_GROUP"));
    ASSERT_EQ(s[4].arguments.size(), 4);
    EXPECT_EQ(*s[4].arguments[0].get<qint32>(), 17);
    EXPECT_EQ(*s[4].arguments[3].get<QString>(), QStringLiteral("$0002"));
    EXPECT_EQ(s[5].procedure, QStringLiteral("spDELETE_CONTACTO"));
    EXPECT_EQ(*s[5].arguments[0].get<qint32>(), -3);
    EXPECT_TRUE(dialect::translate(QStringLiteral(" ; ;")).isEmpty());
}

TEST_F(Dialect, WhatCannotBeCarriedOverIsRefusedByName)
{
    EXPECT_TRUE(refusal("DECLARE @x INT").contains("DECLARE"));
    EXPECT_TRUE(refusal("select 1 while 1 = 1").contains("WHILE")) << "keywords are known in any case";
    EXPECT_TRUE(refusal("SELECT a FROM t Cross Apply f(a)").contains("APPLY"));
    EXPECT_TRUE(refusal("SELECT @x").contains("@x"));
    EXPECT_TRUE(refusal("SELECT @@SERVERNAME").contains("@@SERVERNAME"));
    EXPECT_TRUE(refusal("SELECT TOP 10 PERCENT * FROM t").contains("PERCENT"));
    EXPECT_TRUE(refusal("SELECT DATEADD(day, 1, GETDATE())").contains("DATEADD"));
    EXPECT_TRUE(refusal("SELECT a FROM t WHERE a LIKE 'x!%' ESCAPE '!'").contains("ESCAPE"));
    EXPECT_TRUE(refusal("EXECUTE spX @a = 1").contains("EXECUTE"));
    EXPECT_TRUE(refusal("SELECT 'aberto").contains("texto por fechar"));
    EXPECT_TRUE(refusal("SELECT (1").contains("parêntesis"));
    EXPECT_TRUE(refusal("SET ROWCOUNT 5").contains("SET ROWCOUNT"));
    EXPECT_TRUE(refusal("SELECT CONVERT(xml, a) FROM t").contains("xml"));

    // Failures at run time name the value.
    sqlite3_stmt* st = nullptr;
    const QByteArray sql = dialect::translate(QStringLiteral("SELECT 'abc' + 1"))[0].sql.toUtf8();
    ASSERT_EQ(sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr), SQLITE_OK);
    EXPECT_EQ(sqlite3_step(st), SQLITE_ERROR);
    EXPECT_TRUE(QString::fromUtf8(sqlite3_errmsg(db)).contains("'abc'"));
    sqlite3_finalize(st);

    // What SQL Server refuses when it compiles is refused here too, with its
    // message number: a list that passed here would fail on a site's server.
    for (const char* repeated :
         {"SELECT a, b FROM t ORDER BY a ASC, a", "SELECT a FROM t ORDER BY A, b DESC, a",
          "SELECT a FROM t WHERE a IN (SELECT x FROM u ORDER BY x, x)"}) {
        const auto refused = vbtest::raised([&] { dialect::translate(QString::fromUtf8(repeated)); });
        ASSERT_TRUE(refused) << repeated;
        EXPECT_EQ(refused->nativeError(), 169) << repeated;
        EXPECT_TRUE(
            refused->description().startsWith(QStringLiteral("Uma coluna foi indicada mais de uma vez")));
    }
    for (const char* distinct :
         {"SELECT a, b FROM t ORDER BY a ASC, b", "SELECT a FROM (SELECT a FROM t ORDER BY a) s ORDER BY a",
          "SELECT a FROM t ORDER BY LOWER(a), a"})
        EXPECT_EQ(refusal(distinct), QString()) << distinct;
}

TEST_F(Dialect, TextsSortAsPortugueseAndCompareWithoutRegardToCase)
{
    run("INSERT INTO tbContactos (nome_union) VALUES ('Construções Lda'), ('Câmara Municipal'), ('clínica da "
        "Foz'), "
        "('Ávila & Filhos'), ('zé Povinho'), ('Jose Ribeiro'), ('JOSÉ RIBEIRO')");
    EXPECT_EQ(
        run("SELECT nome_union FROM tbContactos ORDER BY nome_union, contacto_id"),
        (QStringList{"ANA SILVA", "Ávila & Filhos", "Câmara Municipal", "clínica da Foz", "Conceição Álvares",
                     "Construções Lda", "Jose Ribeiro", "José Ribeiro", "JOSÉ RIBEIRO", "zé Povinho"}));
    // Letter case alone makes no difference; accents do, as in SQL Server's default collation.
    EXPECT_EQ(
        run("SELECT contacto_id FROM tbContactos WHERE nome_union = 'josé ribeiro' ORDER BY contacto_id"),
        (QStringList{"2", "10"}));
    EXPECT_EQ(run("SELECT COUNT(DISTINCT nome_union) FROM tbContactos WHERE nome_union LIKE 'jos_ ribeiro'"),
              QStringList{"2"});
}
