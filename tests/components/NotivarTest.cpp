#include "platform/objects/CreateObject.h"
#include "platform/objects/NotivarGeneral.h"
#include "tests/support/EnvGuard.h"
#include "tests/support/ScriptedWindows.h"
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

using testsupport::EnvGuard;

std::shared_ptr<contracts::NotivarGeneral> reporter()
{
    return vb::CreateObjectAs<contracts::NotivarGeneral>(QStringLiteral("Notivar.General"));
}

QStringList logLines(const QString& dir)
{
    QFile f(dir + QStringLiteral("/errors.log"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Reports logged in a folder of the test's own, and shown unless told to be quiet.
class Notivar : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    EnvGuard log{"QUARVENSES_LOG_DIR", dir.path().toUtf8()};
    EnvGuard loud{"QUARVENSES_REPORTER_QUIET", "0"};
    ScriptedWindows windows;
};

} // namespace

TEST_F(Notivar, NeverThrowsEvenWhenItsLogFolderCannotBeWritten)
{
    QFile blocker(dir.filePath(QStringLiteral("not-a-folder")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EnvGuard unwritable("QUARVENSES_LOG_DIR", dir.filePath(QStringLiteral("not-a-folder/log")).toUtf8());
    windows->queueAnswer(1);
    EXPECT_NO_THROW(reporter()->Report(QStringLiteral("t"), QStringLiteral("t2"), QStringLiteral("m"),
                                       QStringLiteral("p"), QStringLiteral("still shown")));
    ASSERT_EQ(windows->messageBoxes().size(), 1u); // the user is still told
    EXPECT_TRUE(windows->messageBoxes()[0].text.contains(QStringLiteral("still shown")));
}

TEST_F(Notivar, ReconnectProgressAndReportsLoggedAndShownUnlessQuiet)
{
    QWidget form;
    {
        auto progress = reporter();
        progress->SQLReconnectShow(&form);
        progress->SQLReconnectShutdown(&form);
        progress->SQLReconnectShowOK(&form);
    }
    reporter()->SQLReconnectShow(nullptr);
    reporter()->SQLReconnectShutdown();
    reporter()->SQLReconnectShowBad(nullptr);
    EXPECT_EQ(windows->eventKinds(),
              (QStringList{"status", "closeStatus", "status", "status", "closeStatus", "status"}));
    const auto& s = windows->statuses();
    ASSERT_EQ(s.size(), 4u);
    EXPECT_EQ(s[0].text, QStringLiteral("A restabelecer a ligação ao servidor de dados…"));
    EXPECT_EQ(s[0].owner, &form);
    EXPECT_EQ(s[0].autoCloseMs, 0); // stays until shut down
    EXPECT_EQ(s[1].text, QStringLiteral("A ligação ao servidor de dados foi restabelecida."));
    EXPECT_GT(s[1].autoCloseMs, 0);
    EXPECT_EQ(s[3].text, QStringLiteral("Não foi possível restabelecer a ligação ao servidor de dados."));
    EXPECT_GT(s[3].autoCloseMs, 0);

    // A report logs one line, and shows the error in a critical box unless quiet.
    windows->queueAnswer(1);
    reporter()->Report(QStringLiteral("Contactos Quarvenses"), QStringLiteral("Contactos Quarvenses"),
                       QStringLiteral("frmInicial"), QStringLiteral("Form_Load"),
                       QStringLiteral("Falhou\n\ra ligação"));
    const QStringList lines = logLines(dir.path());
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(
        "\tContactos Quarvenses\tContactos Quarvenses\tfrmInicial\tForm_Load\tFalhou\\n\\ra ligação")))
        << lines[0].toStdString();
    ASSERT_EQ(windows->messageBoxes().size(), 1u);
    const auto& box = windows->messageBoxes()[0];
    EXPECT_EQ(box.style, 16);
    EXPECT_EQ(box.title, QStringLiteral("Contactos Quarvenses"));
    EXPECT_EQ(box.text, QStringLiteral("Contactos Quarvenses\n\nFalhou\n\ra ligação\n\nMódulo: frmInicial\n"
                                       "Procedimento: Form_Load"));

    EnvGuard quiet("QUARVENSES_REPORTER_QUIET", "1"); // another box would fail this test
    reporter()->Report(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"),
                       QStringLiteral("e"));
    EXPECT_EQ(logLines(dir.path()).size(), 2);
}
