#include "platform/folders/SpecialFolders.h"
#include "platform/folders/ErrorLog.h"
#include "tests/support/EnvGuard.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using testsupport::EnvGuard;

} // namespace

TEST(SpecialFolders, MapsEachNumberHonoursItsVariableAndTellsWhatIsWritable)
{
    QTemporaryDir dir;
    {
        EnvGuard common("QUARVENSES_COMMON_APPDATA", (dir.path() + QStringLiteral("/common/")).toUtf8());
        EnvGuard desktop("QUARVENSES_DESKTOP",
                         (dir.path() + QStringLiteral("/Ambiente de trabalho")).toUtf8());
        EnvGuard temp("QUARVENSES_TEMP", (dir.path() + QStringLiteral("/tmp//")).toUtf8());
        EXPECT_EQ(platform::specialFolder(35), dir.path() + QStringLiteral("/common"));
        EXPECT_EQ(platform::specialFolder(0x10), dir.path() + QStringLiteral("/Ambiente de trabalho"));
        EXPECT_EQ(platform::specialFolder(0), dir.path() + QStringLiteral("/Ambiente de trabalho"));
        EXPECT_EQ(platform::tempFolder(), dir.path() + QStringLiteral("/tmp"));
    }
    {
        EnvGuard common("QUARVENSES_COMMON_APPDATA", "");
        EnvGuard temp("QUARVENSES_TEMP", "");
        EnvGuard tmpdir("TMPDIR", dir.path().toUtf8());
        EXPECT_EQ(platform::specialFolder(35), QStringLiteral("/var/lib/quarvenses"));
        EXPECT_EQ(platform::tempFolder(), dir.path());
        EXPECT_FALSE(platform::specialFolder(0x10).isEmpty());
    }
    EXPECT_EQ(platform::specialFolder(0x05), QString()); // not a folder we map

    // Writable means a file can be made there, and the probe leaves nothing.
    EXPECT_TRUE(platform::isFolderWritable(dir.path()));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
    EXPECT_FALSE(platform::isFolderWritable(dir.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(platform::isFolderWritable(QString()));
    if (::geteuid() != 0) { // root writes anywhere
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_FALSE(platform::isFolderWritable(dir.path()));
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

TEST(ErrorLog, AppendsOneEscapedLinePerReportOrAnswersThatItCannot)
{
    QTemporaryDir dir;
    EnvGuard logDir("QUARVENSES_LOG_DIR", (dir.path() + QStringLiteral("/sub/log")).toUtf8());
    ASSERT_TRUE(platform::ErrorLog::append({QStringLiteral("Contactos Quarvenses"), QStringLiteral("T2"),
                                            QStringLiteral("frmInicial"), QStringLiteral("Form_Load"),
                                            QStringLiteral("linha 1\n\rcom\ttab e \\ barra ç€")}));
    ASSERT_TRUE(platform::ErrorLog::append({QStringLiteral("a"), {}, {}, {}, QStringLiteral("b")}));
    QFile f(dir.path() + QStringLiteral("/sub/log/errors.log"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[2], QString());
    const QStringList fields = lines[0].split(QLatin1Char('\t'));
    ASSERT_EQ(fields.size(), 8);
    EXPECT_TRUE(QDateTime::fromString(fields[0], Qt::ISODateWithMs).isValid()) << fields[0].toStdString();
    EXPECT_EQ(fields[1].toLongLong(), qint64(::getpid()));
    EXPECT_EQ(fields[3], QStringLiteral("Contactos Quarvenses"));
    EXPECT_EQ(fields[6], QStringLiteral("Form_Load"));
    EXPECT_EQ(fields[7], QStringLiteral("linha 1\\n\\rcom\\ttab e \\\\ barra ç€"));
    // What went wrong, and for whom, is the owner's business only.
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(f.fileName()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(QFile::encodeName(dir.path() + QStringLiteral("/sub/log")).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // A folder that cannot be made is an answer, not a failure.
    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EnvGuard blocked("QUARVENSES_LOG_DIR", (dir.path() + QStringLiteral("/file/log")).toUtf8());
    EXPECT_FALSE(platform::ErrorLog::append({QStringLiteral("a"), {}, {}, {}, QStringLiteral("b")}));
}
