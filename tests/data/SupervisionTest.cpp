#include "connection/ConnectionState.h"
#include "connection/StringCipher.h"
#include "data/modCode.h"
#include "data/modSQLConnection.h"
#include "platform/ado/StatementTrace.h"
#include "platform/ado/embedded/EmbeddedServer.h"
#include "tests/support/RecordingReporter.h"
#include "tests/support/ScriptedWindows.h"
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

using ado::embedded::EmbeddedServer;
using modSQLConnection::CheckSQLConnection;

namespace {

class Supervision : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ResetConnectionStateForTests();
        for (const QString& folder : {primary(), secondary()}) {
            EmbeddedServer::createLogin(folder, QStringLiteral("sa"), QStringLiteral("pw"),
                                        ado::embedded::HashStrength::Minimal);
            EmbeddedServer::createCatalog(folder, QStringLiteral("Quarvenses"));
        }
        ConnectionState& c = Conn();
        c.strSQLMasterConnString = StringCipher::Encipher(stringFor(primary()));
        c.strSQLSecondaryConnString = StringCipher::Encipher(stringFor(secondary()));
        Data().SqlServer.Open(stringFor(primary()));
        windows->clear();
    }
    void TearDown() override { ResetConnectionStateForTests(); }

    static QString stringFor(const QString& folder)
    {
        return QStringLiteral(
                   "Provider=SQLOLEDB.1;User ID=sa;Password=pw;Initial Catalog=Quarvenses;Data Source=") +
               folder;
    }
    QString primary() const { return dir.filePath(QStringLiteral("a")); }
    QString secondary() const { return dir.filePath(QStringLiteral("b")); }

    QString check(QWidget* form, bool earlyStop, bool reconnect)
    {
        ado::Connection connection = ado::Connection::nothing();
        return CheckSQLConnection(form, connection, earlyStop, reconnect);
    }

    QTemporaryDir dir;
    testsupport::RecordingReporter reporter;
    ScriptedWindows windows;
    QWidget form;
};

int opensDuring(const std::function<void()>& work)
{
    int opens = 0;
    ado::ScopedTrace trace(
        [&](const ado::TraceEntry& e) { opens += e.kind == ado::TraceEntry::Kind::Connect; });
    work();
    return opens;
}

} // namespace

// A live connection, one inside a transaction when told to stop early, a
// lost one without the reconnect flag, one still opening, or none ever made:
// nothing is opened, shown or touched (a connection still opening asks to wait).
TEST_F(Supervision, WithNothingToDoItGoesOnAndTouchesNothing)
{
    windows->setMousePointer(&form, 99);
    windows->clear();
    EXPECT_EQ(opensDuring([&] { EXPECT_EQ(check(&form, false, true), QString()); }), 0);
    EXPECT_EQ(windows->mousePointer(&form), 99);
    EXPECT_EQ(windows->eventKinds({QStringLiteral("windowState")}), QStringList());

    Data().SqlServer.BeginTrans();
    windows->setMousePointer(&form, 3);
    EXPECT_EQ(check(&form, true, true), QString());
    EXPECT_EQ(windows->mousePointer(&form), 3);
    EXPECT_TRUE(modCode::IsInTransaction());
    Data().SqlServer.RollbackTrans();
    EXPECT_FALSE(modCode::IsInTransaction());

    EmbeddedServer::setPaused(primary(), true);
    EXPECT_EQ(opensDuring([&] { EXPECT_EQ(check(&form, false, false), QString()); }), 0);
    EXPECT_TRUE(Data().SqlServer.ConnectionString().endsWith(primary()));
    EXPECT_TRUE(reporter.progress().isEmpty());
    EmbeddedServer::setPaused(primary(), false);

    EmbeddedServer::setLatency(primary(), 400);
    ado::Connection slow;
    slow.Open(stringFor(primary()), {}, {}, ado::adAsyncConnect);
    bool earlyStop = false;
    bool reconnect = true;
    EXPECT_EQ(CheckSQLConnection(nullptr, slow, earlyStop, reconnect), QStringLiteral("..."));
    slow.Close();
    EmbeddedServer::setLatency(primary(), 0);

    ResetConnectionStateForTests();
    windows->clear();
    EXPECT_EQ(check(&form, false, true), QString());
    EXPECT_TRUE(windows->events().empty());
    EXPECT_TRUE(reporter.progress().isEmpty());
}

TEST_F(Supervision, ALostConnectionIsReopenedOnTheOtherServer)
{
    EmbeddedServer::setPaused(primary(), true);
    EXPECT_EQ(check(&form, false, true), QString());
    EXPECT_EQ(reporter.progress(), (QStringList{"Show", "Shutdown", "OK"}));
    EXPECT_EQ(Data().SqlServer.State(), ado::adStateOpen);
    EXPECT_TRUE(Data().SqlServer.ConnectionString().endsWith(secondary()));
    EXPECT_EQ(Data().SqlServer.ConnectionTimeout(), 15) << "the timeout is restored";
    EXPECT_FALSE(Conn().bUseSecondary) << "a reconnection does not change which string is in use";
    // Minimised during the reconnection, normal afterwards; the pointer back.
    std::vector<int> states;
    for (const auto& e : windows->events())
        if (e.kind == QStringLiteral("windowState"))
            states.push_back(e.value);
    EXPECT_EQ(states, (std::vector<int>{1, 0}));
    EXPECT_EQ(windows->mousePointer(&form), 0);
    EXPECT_TRUE(reporter.reports().empty());
}

TEST_F(Supervision, AServerThatStaysDownCostsAtMostEightAttempts)
{
    EmbeddedServer::setPaused(primary(), true);
    EmbeddedServer::setPaused(secondary(), true);
    EXPECT_EQ(opensDuring([&] { EXPECT_EQ(check(&form, false, true), QString()); }), 8);
    EXPECT_EQ(reporter.progress(), (QStringList{"Show", "Shutdown", "Bad"}));
    EXPECT_NE(Data().SqlServer.State(), ado::adStateOpen);

    EmbeddedServer::setPaused(primary(), false);
    EXPECT_EQ(check(nullptr, false, true), QString());
    EXPECT_EQ(Data().SqlServer.State(), ado::adStateOpen);
    EXPECT_TRUE(Data().SqlServer.ConnectionString().endsWith(primary()));
}
