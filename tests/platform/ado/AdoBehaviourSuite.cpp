#include "tests/platform/ado/AdoBehaviourSuite.h"

#include "platform/ado/AdoError.h"
#include "platform/values/Conversions.h"
#include <QCoreApplication>
#include <QElapsedTimer>

namespace adotest {

using namespace ado;

int pollUntilSettled(const Connection& c)
{
    QElapsedTimer clock;
    clock.start();
    while (c.State() == adStateConnecting && clock.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return c.State();
}

void AdoBehaviour::SetUp()
{
    server = GetParam()();
    if (!server)
        GTEST_SKIP() << "no server of this kind is configured";
    connection.Open(server->connectionString());
    run({"CREATE TABLE tbPessoas (pessoa_id INT NOT NULL PRIMARY KEY, nome NVARCHAR(60) NULL, "
         "activo BIT NULL, nascido DATETIME NULL, saldo MONEY NULL, peso FLOAT NULL)",
         "INSERT INTO tbPessoas (pessoa_id, nome, activo, nascido, saldo, peso) VALUES "
         "(1, 'Ana', 1, '2024-03-05 14:07:09', 12.5, 61.25)",
         "INSERT INTO tbPessoas (pessoa_id, nome, activo) VALUES (2, 'Bruno', 0)",
         "INSERT INTO tbPessoas (pessoa_id, nome) VALUES (3, NULL)"});
}

void AdoBehaviour::run(std::initializer_list<const char*> statements)
{
    for (const char* statement : statements)
        connection.Execute(QString::fromUtf8(statement));
}

TEST_P(AdoBehaviour, OpenStateAndCloseAndAnAsynchronousOpen)
{
    EXPECT_EQ(connection.State(), adStateOpen);
    EXPECT_EQ(errorOf([&] { connection.Open(server->connectionString()); }), 3705);
    connection.Close();
    EXPECT_EQ(connection.State(), adStateClosed);
    EXPECT_EQ(errorOf([&] { connection.Execute(QStringLiteral("SELECT 1 as um")); }), 3709);
    EXPECT_EQ(errorOf([&] { connection.Close(); }), 3709);
    connection.Open(); // the kept string
    EXPECT_EQ(connection.State(), adStateOpen);

    // An asynchronous open is polled through State.
    Connection probe;
    probe.Open(server->connectionString(), {}, {}, adAsyncConnect);
    EXPECT_EQ(pollUntilSettled(probe), adStateOpen);
    EXPECT_TRUE(probe.Errors().isEmpty());
    Recordset rs = probe.Execute(QStringLiteral("SELECT 17 as contacto_id"));
    EXPECT_EQ(vb::CLng(rs(QStringLiteral("contacto_id"))), 17);
}

TEST_P(AdoBehaviour, TransactionsNestAsSqlServerCounts)
{
    // Where the server cannot tell its own count, the nesting shows in what
    // BeginTrans returns and in what the rollback undoes.
    int expected = 0;
    const auto trancount = [&] {
        if (!server->speaksTSql())
            return expected;
        Recordset rs;
        rs.Open(QStringLiteral("SELECT @@TRANCOUNT as valor"), connection);
        return vb::CLng(rs(QStringLiteral("valor")));
    };
    EXPECT_EQ(trancount(), 0);
    EXPECT_EQ(connection.BeginTrans(), 1);
    EXPECT_EQ(connection.BeginTrans(), 2);
    expected = 2;
    EXPECT_EQ(trancount(), 2);
    run({"UPDATE tbPessoas SET nome = 'Ana Maria' WHERE pessoa_id = 1"});
    connection.CommitTrans(); // inner: nothing committed yet
    expected = 1;
    EXPECT_EQ(trancount(), 1);
    connection.RollbackTrans(); // undoes the inner work too
    expected = 0;
    EXPECT_EQ(trancount(), 0);
    Recordset rs = connection.Execute(QStringLiteral("SELECT nome FROM tbPessoas WHERE pessoa_id = 1"));
    EXPECT_EQ(vb::CStr(rs(QStringLiteral("nome"))), QStringLiteral("Ana"));
    EXPECT_NE(errorOf([&] { connection.CommitTrans(); }), 0);

    connection.BeginTrans();
    run({"UPDATE tbPessoas SET nome = 'Ana Maria' WHERE pessoa_id = 1"});
    connection.CommitTrans();
    rs.Requery();
    EXPECT_EQ(vb::CStr(rs(QStringLiteral("nome"))), QStringLiteral("Ana Maria"));
}

TEST_P(AdoBehaviour, ValuesKeepTheirTypesAndNulls)
{
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM tbPessoas WHERE pessoa_id = 1"), connection);
    EXPECT_EQ(rs.Fields(QStringLiteral("PESSOA_ID")).Type(), adInteger);
    EXPECT_EQ(vb::CLng(rs(QStringLiteral("pessoa_id"))), 1);
    EXPECT_EQ(rs.Fields(QStringLiteral("activo")).Type(), adBoolean);
    EXPECT_EQ(rs(QStringLiteral("activo")).type(), vb::VarType::Boolean);
    EXPECT_TRUE(vb::CBool(rs(QStringLiteral("activo"))));
    ASSERT_TRUE(rs(QStringLiteral("nascido")).isDate());
    EXPECT_EQ(vb::FromSerial(rs(QStringLiteral("nascido")).get<vb::Date>()->serial),
              QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
    EXPECT_EQ(rs(QStringLiteral("saldo")).type(), vb::VarType::Currency);
    EXPECT_DOUBLE_EQ(vb::CDbl(rs(QStringLiteral("saldo"))), 12.5);
    EXPECT_DOUBLE_EQ(vb::CDbl(rs(QStringLiteral("peso"))), 61.25);
    EXPECT_EQ(rs.Fields(0).Name(), QStringLiteral("pessoa_id"));
    EXPECT_EQ(errorOf([&] { rs.Fields(QStringLiteral("inexistente")); }), 3265);
    EXPECT_EQ(errorOf([&] { rs.Fields(99); }), 3265);

    rs.Close();
    rs.Open(QStringLiteral("SELECT * FROM tbPessoas WHERE pessoa_id = 3"), connection);
    EXPECT_TRUE(rs(QStringLiteral("nome")).isNull());
    EXPECT_TRUE(rs(QStringLiteral("nascido")).isNull());
    EXPECT_EQ(rs.Fields(QStringLiteral("nascido")).Type(), adDBTimeStamp);
}

TEST_P(AdoBehaviour, MovesFindsAndTheEndsOfTheRecordset)
{
    Recordset rs;
    rs.Open(QStringLiteral("SELECT pessoa_id FROM tbPessoas ORDER BY pessoa_id"), connection);
    EXPECT_EQ(rs.RecordCount(), 3);
    EXPECT_FALSE(rs.Bof());
    EXPECT_FALSE(rs.Eof());
    EXPECT_EQ(rs.AbsolutePosition(), 1);
    rs.MoveLast();
    EXPECT_EQ(vb::CLng(rs(QStringLiteral("pessoa_id"))), 3);
    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());
    EXPECT_EQ(errorOf([&] { rs(QStringLiteral("pessoa_id")); }), 3021);
    EXPECT_EQ(errorOf([&] { rs.MoveNext(); }), 3021);
    rs.MoveFirst();
    rs.MovePrevious();
    EXPECT_TRUE(rs.Bof());
    EXPECT_EQ(errorOf([&] { rs.MovePrevious(); }), 3021);
    rs.setAbsolutePosition(2);
    EXPECT_EQ(vb::CLng(rs(QStringLiteral("pessoa_id"))), 2);

    Recordset empty = connection.Execute(QStringLiteral("SELECT * FROM tbPessoas WHERE pessoa_id = 99"));
    EXPECT_EQ(empty.State(), adStateOpen);
    EXPECT_TRUE(empty.Bof());
    EXPECT_TRUE(empty.Eof());
    EXPECT_EQ(errorOf([&] { empty.MoveFirst(); }), 3021);

    Recordset none = connection.Execute(QStringLiteral("UPDATE tbPessoas SET peso = 1 WHERE pessoa_id = 99"));
    EXPECT_EQ(none.State(), adStateClosed);
    EXPECT_EQ(errorOf([&] { none.Eof(); }), 3709);

    // Find, on texts and numbers.
    rs.Close();
    rs.Open(QStringLiteral("SELECT * FROM tbPessoas ORDER BY pessoa_id"), connection);
    rs.Find(QStringLiteral("nome='bruno'"));
    ASSERT_FALSE(rs.Eof());
    EXPECT_EQ(vb::CLng(rs(QStringLiteral("pessoa_id"))), 2);
    rs.Find(QStringLiteral("pessoa_id=1"), 0, adSearchForward, vb::Variant(int(adBookmarkFirst)));
    EXPECT_EQ(vb::CStr(rs(QStringLiteral("nome"))), QStringLiteral("Ana"));
    rs.Find(QStringLiteral("pessoa_id=1"), 1); // skipping the current row
    EXPECT_TRUE(rs.Eof());
    rs.MoveLast();
    rs.Find(QStringLiteral("nome LIKE 'A*'"), 0, adSearchBackward);
    EXPECT_EQ(vb::CLng(rs(QStringLiteral("pessoa_id"))), 1);
    rs.Find(QStringLiteral("nome='O''Neill'"));
    EXPECT_TRUE(rs.Eof());
    EXPECT_EQ(errorOf([&] { rs.Find(QStringLiteral("pessoa_id=1")); }), 3021);
    rs.MoveFirst();
    EXPECT_EQ(errorOf([&] { rs.Find(QStringLiteral("campo=1")); }), 3265);
    EXPECT_EQ(errorOf([&] { rs.Find(QStringLiteral("pessoa_id 1")); }), 3001);
}

TEST_P(AdoBehaviour, UpdateWritesTheRowBackByItsKeyAndTextsExactly)
{
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM tbPessoas WHERE pessoa_id = 2"), connection, adOpenDynamic,
            adLockOptimistic, 8);
    rs.Fields(QStringLiteral("nome")).setValue(QStringLiteral("Bruno d'Ávila"));
    rs.Fields(QStringLiteral("activo")).setValue(true);
    rs.Fields(QStringLiteral("nascido")).setValue(vb::CDate(vb::Variant(QStringLiteral("2001-02-03"))));
    rs.Update();
    Recordset check = connection.Execute(QStringLiteral("SELECT * FROM tbPessoas WHERE pessoa_id = 2"));
    EXPECT_EQ(vb::CStr(check(QStringLiteral("nome"))), QStringLiteral("Bruno d'Ávila"));
    EXPECT_TRUE(vb::CBool(check(QStringLiteral("activo"))));
    EXPECT_EQ(vb::SerialDate(check(QStringLiteral("nascido")).get<vb::Date>()->serial), QDate(2001, 2, 3));
    // A moment is written back to the millisecond.
    const QDateTime moment(QDate(2001, 2, 3), QTime(4, 5, 6, 789));
    rs.Fields(QStringLiteral("nascido")).setValue(vb::Variant::fromDate(vb::ToSerial(moment)));
    rs.Update();
    Recordset again = connection.Execute(QStringLiteral("SELECT nascido FROM tbPessoas WHERE pessoa_id = 2"));
    EXPECT_EQ(vb::FromSerialToMillisecond(again(QStringLiteral("nascido")).get<vb::Date>()->serial), moment);

    rs.Fields(QStringLiteral("nome")).setValue(QStringLiteral("Outro"));
    rs.CancelUpdate();
    EXPECT_EQ(vb::CStr(rs(QStringLiteral("nome"))), QStringLiteral("Bruno d'Ávila"));

    Recordset joined =
        connection.Execute(QStringLiteral("SELECT a.nome, b.nome AS outro FROM tbPessoas a LEFT JOIN "
                                          "tbPessoas b ON b.pessoa_id = a.pessoa_id + 1"));
    joined.Fields(0).setValue(QStringLiteral("x"));
    EXPECT_NE(errorOf([&] { joined.Update(); }), 0);

    // Texts round trip exactly.
    const QString awkward = QStringLiteral("O'Neill; \"ç\" ã € ") +
                            (server->keepsNulCharacters() ? QString(QChar(0)) : QString()) +
                            QStringLiteral("fim\\");
    rs.Fields(QStringLiteral("nome")).setValue(awkward);
    rs.Update();
    check.Requery();
    EXPECT_EQ(vb::CStr(check(QStringLiteral("nome"))), awkward);
    if (server->speaksTSql()) {
        check = connection.Execute(QStringLiteral("SELECT 'O' + CHAR(39) + 'Neill, São João' as nome"));
        EXPECT_EQ(vb::CStr(check(QStringLiteral("nome"))), QStringLiteral("O'Neill, São João"));
    }
}

TEST_P(AdoBehaviour, RequeryAndSharedReferences)
{
    Recordset held;
    held.Open(QStringLiteral("SELECT * FROM tbPessoas ORDER BY pessoa_id"), connection);
    Recordset card = held; // the same object, the same cursor
    card.MoveNext();
    EXPECT_EQ(vb::CLng(held(QStringLiteral("pessoa_id"))), 2);
    EXPECT_TRUE(card.sameObject(held));
    run({"INSERT INTO tbPessoas (pessoa_id, nome) VALUES (4, 'Carla')"});
    EXPECT_EQ(held.RecordCount(), 3);
    card.Requery();
    EXPECT_EQ(held.RecordCount(), 4);
    EXPECT_EQ(held.AbsolutePosition(), 1);
    held.Close();
    EXPECT_EQ(card.State(), adStateClosed);
    EXPECT_EQ(errorOf([&] { card.Requery(); }), 3709);
}

TEST_P(AdoBehaviour, ProviderErrorsCarryTheirText)
{
    const auto missing = raised([&] { connection.Execute(QStringLiteral("SELECT * FROM tbNaoExiste")); });
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->number(), error::ProviderError);
    EXPECT_TRUE(missing->description().contains(QStringLiteral("tbNaoExiste"), Qt::CaseInsensitive))
        << missing->description().toStdString();
    ASSERT_EQ(connection.Errors().size(), 1);
    EXPECT_EQ(connection.Errors()[0].description(), missing->description());
    EXPECT_EQ(connection.State(), adStateOpen);
    // A message longer than any first buffer comes back whole (as whole as
    // the driver makes it: SQLite's ODBC driver keeps 512 characters).
    const QString longName = QStringLiteral("tb") + QString(400, u'x');
    const QString text =
        vbtest::failureOf([&] { connection.Execute(QStringLiteral("SELECT * FROM ") + longName); });
    EXPECT_TRUE(text.contains(longName)) << text.size();
}

} // namespace adotest
