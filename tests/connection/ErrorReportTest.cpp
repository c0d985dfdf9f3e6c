#include "connection/ErrorReport.h"
#include "platform/objects/ComponentRegistry.h"
#include "tests/support/EnvGuard.h"
#include "tests/support/RecordingReporter.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// The reports recorded, and each reporter the reports made counted and watched.
class ErrorReportTest : public ::testing::Test {
  protected:
    testsupport::RecordingReporter recorder;
    int created = 0;
    std::weak_ptr<vb::Object> last;
    platform::ScopedComponent counting{QStringLiteral("Notivar.General"),
                                       [this, recording = platform::ComponentRegistry::instance().factoryFor(
                                                  QStringLiteral("Notivar.General"))] {
                                           ++created;
                                           vb::ObjectRef made = recording();
                                           last = made;
                                           return made;
                                       }};
};

using ErrorReport::Origin;
using ErrorReport::Source;

} // namespace

// Each origin's titles and module, whether the text carries the number and
// whether a blank description is reported; no expectation is no report at
// all (numbers 0 and 3709 never are).
TEST_F(ErrorReportTest, EachOriginSendsItsTitlesAndItsKindOfTextThroughAReporterMadeForIt)
{
    // A reporter is made for each report and dropped after it.
    ErrorReport::send(Origin::General, QStringLiteral("A"), 5, QStringLiteral("a"));
    EXPECT_TRUE(last.expired());
    ErrorReport::send(Origin::General, QStringLiteral("B"), 5, QStringLiteral("b"));
    EXPECT_EQ(created, 2);
    EXPECT_TRUE(last.expired());

    const struct {
        Source source;
        int number;
        const char* description;
        const char* expected; // title, title2, module, procedure, text
    } cases[] = {
        {Origin::General, 0, "nada", nullptr},
        {Origin::SettingsStore, 0, "nada", nullptr},
        {Origin::Card, 3709, "closed", nullptr},
        {Origin::Permissions, 3709, "closed", nullptr},
        {Origin::SettingsStore, 5, "  ", nullptr},
        {Origin::FileDialogs, 7, "", nullptr},
        {Origin::CardLayout, 5, " ", nullptr},
        {Origin::SettingsStore, 13, "Type mismatch",
         "Pelmor Mirel Software\tAmbrel Software Modules\tmodRegistry\tP\tError Number = 13 | Description = "
         "Type mismatch"},
        {Origin::Permissions, -2147217900, "Invalid object name",
         "modCheckPermissions\tmodCheckPermissions\tmodCheckPermissions\tP\tError Number = -2147217900 | "
         "Description = Invalid object name"},
        {Origin::SqlLiteralsCode, 6, "Overflow",
         "Pelmor Mirel Software\tSinistros_Snvia\tmodCode\tP\tError Number = 6 | Description = Overflow"},
        {Origin::SqlLiteralsData, 6, "Overflow",
         "Pelmor Mirel Software\tFerramentas Administrativas\tmodData\tP\tError Number = 6 | Description = "
         "Overflow"},
        {Origin::FileDialogs, 5, "x",
         "Common Dialogs\tCommon Dialogs\tmodComDlg\tP\tError Number = 5 | Description = x"},
        {Origin::General, 91, "Object variable",
         "Contactos Quarvenses\tContactos Quarvenses\tGeneral\tP\tObject variable"},
        {Origin::SQLConnect, 1, "d", "Ambrel Software\tAmbrel Software\tSQLConnect\tP\td"},
        {Origin::Card, 5, "   ", "Contactos Quarvenses\tContactos Quarvenses\tfrmInicial\tP\t   "},
        {{Origin::Card, QStringLiteral("frmNovo")},
         5,
         "e",
         "Contactos Quarvenses\tContactos Quarvenses\tfrmNovo\tP\te"},
        {Origin::CardLayout, 5, "e", "Ambrel Trevalia\tClientes_Snvia\tfrmInicial\tP\te"},
        {Origin::PrintForm, 5, "e", "Ambrel Trevalia\tClientes_Snvia\tfrmImpressoes\tP\te"},
        {Origin::OwnerWindow, 5, "e", "mod\tmod\tfrmMainChilds\tP\te"},
        {Origin::StartUp, 53, "File not found",
         "Contactos Quarvenses\tContactos Quarvenses\tmodCode\tP\tFile not found"},
        {Source::custom(QStringLiteral("Associados"), QStringLiteral("Associados"),
                        QStringLiteral("frmInicial")),
         5, "e", "Associados\tAssociados\tfrmInicial\tP\te"},
    };
    for (const auto& c : cases) {
        const size_t before = recorder.reports().size();
        const int madeBefore = created;
        const bool sent =
            ErrorReport::send(c.source, QStringLiteral("P"), c.number, QString::fromLatin1(c.description));
        EXPECT_EQ(sent, c.expected != nullptr) << c.number << " " << c.description;
        if (!c.expected) {
            EXPECT_EQ(recorder.reports().size(), before) << c.number << " " << c.description;
            EXPECT_EQ(created, madeBefore) << "no reporter made for nothing";
        } else {
            EXPECT_EQ(recorder.reports().back().join(u'\t'), QString::fromLatin1(c.expected));
        }
    }

    // Other exceptions are VB's 51 with their text.
    EXPECT_TRUE(ErrorReport::send(Origin::General, QStringLiteral("C"), std::runtime_error("boom")));
    EXPECT_EQ(recorder.reports().back()[4], QStringLiteral("boom"));
    const std::exception& asStd = vb::Error(13, QStringLiteral("Type mismatch"));
    EXPECT_TRUE(ErrorReport::send(Origin::SettingsStore, QStringLiteral("D"), asStd));
    EXPECT_EQ(recorder.reports().back()[4],
              QStringLiteral("Error Number = 13 | Description = Type mismatch"));

    // Without a reporter, a report goes to the log and the caller goes on.
    QTemporaryDir dir;
    {
        testsupport::EnvGuard logDir("QUARVENSES_LOG_DIR", dir.path().toUtf8());
        platform::ScopedComponent missing(QStringLiteral("Notivar.General"), [] { return vb::ObjectRef(); });
        EXPECT_TRUE(ErrorReport::send(Origin::SettingsStore, QStringLiteral("GravarShadow"), 75,
                                      QStringLiteral("Path/File access error")));
    }
    QFile log(dir.filePath(QStringLiteral("errors.log")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString line = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(line.contains(QStringLiteral("\tmodRegistry\tGravarShadow\tError Number = 75 | Description = "
                                             "Path/File access error\n")))
        << line.toStdString();
}
