#include "connection/ErrorReport.h"
#include "platform/objects/ComponentRegistry.h"
#include "platform/objects/NotivarGeneral.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

struct Reports {
    std::vector<QStringList> calls;
    int created = 0;
    std::weak_ptr<vb::Object> last;
};

class RecordingReporter : public contracts::NotivarGeneral {
  public:
    explicit RecordingReporter(Reports& r) : r_(r) {}
    void Report(const QString& t, const QString& t2, const QString& m, const QString& p,
                const QString& msg) override
    {
        r_.calls.push_back({t, t2, m, p, msg});
    }
    void SQLReconnectShow(QWidget*) override {}
    void SQLReconnectShutdown(QWidget*) override {}
    void SQLReconnectShowOK(QWidget*) override {}
    void SQLReconnectShowBad(QWidget*) override {}

  private:
    Reports& r_;
};

class ErrorReportTest : public ::testing::Test {
  protected:
    Reports reports;
    platform::ScopedComponent reporter{QStringLiteral("Notivar.General"), [this] {
                                           ++reports.created;
                                           auto o = std::make_shared<RecordingReporter>(reports);
                                           reports.last = o;
                                           return o;
                                       }};
};

using ErrorReport::Origin;
using ErrorReport::Source;

} // namespace

TEST_F(ErrorReportTest, NeverReportsNumberZeroOr3709)
{
    for (Origin o : {Origin::General, Origin::SettingsStore, Origin::Card, Origin::Permissions}) {
        EXPECT_FALSE(ErrorReport::send(o, QStringLiteral("P"), 0, QStringLiteral("nada")));
        EXPECT_FALSE(ErrorReport::send(o, QStringLiteral("P"), vb::Error(3709, QStringLiteral("closed"))));
    }
    EXPECT_TRUE(reports.calls.empty());
    EXPECT_EQ(reports.created, 0);
}

TEST_F(ErrorReportTest, ModulesSendNumberAndDescriptionAndNeedADescription)
{
    EXPECT_TRUE(ErrorReport::send(Origin::SettingsStore, QStringLiteral("ObterValorString"),
                                  vb::Error::typeMismatch()));
    EXPECT_FALSE(ErrorReport::send(Origin::SettingsStore, QStringLiteral("ObterValorString"), 5,
                                   QStringLiteral("  ")));
    EXPECT_TRUE(ErrorReport::send(Origin::Permissions, QStringLiteral("CheckObjectSecurity"), -2147217900,
                                  QStringLiteral("Invalid object name")));
    EXPECT_FALSE(ErrorReport::send(Origin::FileDialogs, QStringLiteral("SaveFileName"), 7, QString()));
    EXPECT_TRUE(
        ErrorReport::send(Origin::SqlLiteralsCode, QStringLiteral("Trtf"), 6, QStringLiteral("Overflow")));
    EXPECT_TRUE(ErrorReport::send(Origin::SqlLiteralsData, QStringLiteral("ListField"), 6,
                                  QStringLiteral("Overflow")));
    EXPECT_TRUE(
        ErrorReport::send(Origin::FileDialogs, QStringLiteral("SaveFileName"), 5, QStringLiteral("x")));
    ASSERT_EQ(reports.calls.size(), 5u);
    EXPECT_EQ(reports.calls[0],
              (QStringList{"Pelmor Mirel Software", "Ambrel Software Modules", "modRegistry",
                           "ObterValorString", "Error Number = 13 | Description = Type mismatch"}));
    EXPECT_EQ(reports.calls[1],
              (QStringList{"modCheckPermissions", "modCheckPermissions", "modCheckPermissions",
                           "CheckObjectSecurity",
                           "Error Number = -2147217900 | Description = Invalid object name"}));
    EXPECT_EQ(reports.calls[2], (QStringList{"Pelmor Mirel Software", "Sinistros_Snvia", "modCode", "Trtf",
                                             "Error Number = 6 | Description = Overflow"}));
    EXPECT_EQ(reports.calls[3].mid(0, 3),
              (QStringList{"Pelmor Mirel Software", "Ferramentas Administrativas", "modData"}));
    EXPECT_EQ(reports.calls[4], (QStringList{"Common Dialogs", "Common Dialogs", "modComDlg", "SaveFileName",
                                             "Error Number = 5 | Description = x"}));
}

TEST_F(ErrorReportTest, FormsAndTheClassSendTheDescriptionAlone)
{
    EXPECT_TRUE(ErrorReport::send(Origin::General, QStringLiteral("ObjectOpen"), 91,
                                  QStringLiteral("Object variable")));
    EXPECT_TRUE(ErrorReport::send(Origin::SQLConnect, QStringLiteral("SQLConnect"), 1, QStringLiteral("d")));
    EXPECT_TRUE(ErrorReport::send(Origin::Card, QStringLiteral("Form_Load"), 5,
                                  QStringLiteral("   "))); // no blank rule
    EXPECT_TRUE(ErrorReport::send({Origin::Card, QStringLiteral("frmNovo")}, QStringLiteral("Novo"), 5,
                                  QStringLiteral("e")));
    EXPECT_FALSE(
        ErrorReport::send(Origin::CardLayout, QStringLiteral("Rpl_Move_Along"), 5, QStringLiteral(" ")));
    EXPECT_TRUE(
        ErrorReport::send(Origin::CardLayout, QStringLiteral("Rpl_Move_Along"), 5, QStringLiteral("e")));
    EXPECT_TRUE(ErrorReport::send(Origin::PrintForm, QStringLiteral("StringRTF"), 5, QStringLiteral("e")));
    EXPECT_TRUE(
        ErrorReport::send(Origin::OwnerWindow, QStringLiteral("GetNewParent"), 5, QStringLiteral("e")));
    EXPECT_TRUE(
        ErrorReport::send(Origin::StartUp, QStringLiteral("PlayWave"), 53, QStringLiteral("File not found")));
    EXPECT_TRUE(ErrorReport::send(Source::custom(QStringLiteral("Associados"), QStringLiteral("Associados"),
                                                 QStringLiteral("frmInicial")),
                                  QStringLiteral("Fill_Eventos"), 5, QStringLiteral("e")));
    ASSERT_EQ(reports.calls.size(), 9u);
    EXPECT_EQ(reports.calls[0], (QStringList{"Contactos Quarvenses", "Contactos Quarvenses", "General",
                                             "ObjectOpen", "Object variable"}));
    EXPECT_EQ(reports.calls[1].mid(0, 3), (QStringList{"Ambrel Software", "Ambrel Software", "SQLConnect"}));
    EXPECT_EQ(reports.calls[2], (QStringList{"Contactos Quarvenses", "Contactos Quarvenses", "frmInicial",
                                             "Form_Load", "   "}));
    EXPECT_EQ(reports.calls[3][2], QStringLiteral("frmNovo"));
    EXPECT_EQ(reports.calls[4],
              (QStringList{"Ambrel Trevalia", "Clientes_Snvia", "frmInicial", "Rpl_Move_Along", "e"}));
    EXPECT_EQ(reports.calls[5][2], QStringLiteral("frmImpressoes"));
    EXPECT_EQ(reports.calls[6].mid(0, 3), (QStringList{"mod", "mod", "frmMainChilds"}));
    EXPECT_EQ(reports.calls[7], (QStringList{"Contactos Quarvenses", "Contactos Quarvenses", "modCode",
                                             "PlayWave", "File not found"}));
    EXPECT_EQ(reports.calls[8], (QStringList{"Associados", "Associados", "frmInicial", "Fill_Eventos", "e"}));
}

TEST_F(ErrorReportTest, CreatesTheReporterForEachReportAndDropsIt)
{
    ErrorReport::send(Origin::General, QStringLiteral("A"), 5, QStringLiteral("a"));
    EXPECT_TRUE(reports.last.expired());
    ErrorReport::send(Origin::General, QStringLiteral("B"), 5, QStringLiteral("b"));
    EXPECT_EQ(reports.created, 2);
    EXPECT_TRUE(reports.last.expired());

    // Other exceptions are VB's 51 with their text.
    EXPECT_TRUE(ErrorReport::send(Origin::General, QStringLiteral("C"), std::runtime_error("boom")));
    EXPECT_EQ(reports.calls.back()[4], QStringLiteral("boom"));
    const std::exception& asStd = vb::Error(13, QStringLiteral("Type mismatch"));
    EXPECT_TRUE(ErrorReport::send(Origin::SettingsStore, QStringLiteral("D"), asStd));
    EXPECT_EQ(reports.calls.back()[4], QStringLiteral("Error Number = 13 | Description = Type mismatch"));
}

TEST(ErrorReportWithoutReporter, GoesToTheLogAndTheCallerGoesOn)
{
    QTemporaryDir dir;
    const QByteArray oldLog = qgetenv("QUARVENSES_LOG_DIR");
    qputenv("QUARVENSES_LOG_DIR", dir.path().toUtf8());
    {
        platform::ScopedComponent missing(QStringLiteral("Notivar.General"), [] { return vb::ObjectRef(); });
        EXPECT_TRUE(ErrorReport::send(Origin::SettingsStore, QStringLiteral("GravarShadow"), 75,
                                      QStringLiteral("Path/File access error")));
    }
    qputenv("QUARVENSES_LOG_DIR", oldLog);
    QFile log(dir.filePath(QStringLiteral("errors.log")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString line = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(line.contains(QStringLiteral("\tmodRegistry\tGravarShadow\tError Number = 75 | Description = "
                                             "Path/File access error\n")))
        << line.toStdString();
}
