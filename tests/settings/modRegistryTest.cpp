#include "settings/modRegistry.h"

#include "platform/registry/Registry.h"
#include "platform/values/Conversions.h"
#include "tests/support/EnvGuard.h"
#include "tests/support/ScriptedWindows.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using vb::Variant;

namespace {

const QString kTlv = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Shared\\TLV");
const QString kFrm = kTlv + QStringLiteral("\\frm001");

class SettingsStore : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QByteArray shadowBytes() const
    {
        QFile f(modRegistry::FicheiroShadow());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeShadow(const QByteArray& bytes) const
    {
        QDir().mkpath(modRegistry::PastaShadow());
        QFile f(modRegistry::FicheiroShadow());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    void setRegistryString(const QString& key, const QString& name, const QString& text) const
    {
        platform::Registry::current().setValue(key, name, platform::RegValue::string(text));
    }

    QTemporaryDir dir;
    testsupport::EnvGuard common{"QUARVENSES_COMMON_APPDATA",
                                 dir.filePath(QStringLiteral("common")).toUtf8()};
    testsupport::EnvGuard registry{"QUARVENSES_REGISTRY",
                                   dir.filePath(QStringLiteral("registry.reg")).toUtf8()};
    ScriptedWindows windows;
};

} // namespace

TEST_F(SettingsStore, ShadowValueWinsRegistryIsTheFallbackAndRedirectionsAreFollowed)
{
    setRegistryString(kTlv, QStringLiteral("DataServer"), QStringLiteral("Sanovia"));
    EXPECT_EQ(vb::CStr(modRegistry::ObterValorString(kTlv, QStringLiteral("DataServer"))), "Sanovia");

    writeShadow("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Shared\\TLV:DataServer=Fiscora\r\n");
    EXPECT_EQ(vb::CStr(modRegistry::ObterValorString(kTlv, QStringLiteral("DataServer"))), "Fiscora");

    QString key = kTlv, name = QStringLiteral("DataServer");
    bool skipShadow = true;
    EXPECT_EQ(vb::CStr(modRegistry::ObterValorString(key, name, Variant::null(), skipShadow)), "Sanovia");

    // Key and value name match without regard to case; an empty shadow value is absent.
    writeShadow(
        "hkey_local_machine\\software\\varnadel\\shared\\tlv:dataserver=Outro\r\nHKEY_USERS\\X:Vazio=\r\n");
    EXPECT_EQ(vb::CStr(modRegistry::ObterValorString(kTlv, QStringLiteral("DataServer"))), "Outro");
    EXPECT_TRUE(
        modRegistry::ObterValorString(QStringLiteral("HKEY_USERS\\X"), QStringLiteral("Vazio")).isNull());

    // Redirections are followed, and loops end.
    const QString a = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\A");
    const QString b = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\B");
    const QString c = QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE\\C");
    setRegistryString(a, QStringLiteral("dtUser"), QStringLiteral("SREF=") + b);
    setRegistryString(b, QStringLiteral("dtUser"), QStringLiteral("SREF=") + c);
    setRegistryString(c, QStringLiteral("dtUser"), QStringLiteral("  gestor"));
    EXPECT_EQ(vb::CStr(modRegistry::ObterValorString(a, QStringLiteral("dtUser"))), "gestor")
        << "followed to the end, leading spaces dropped";

    setRegistryString(c, QStringLiteral("dtUser"), QStringLiteral("SREF=") + a);
    writeShadow("");
    const Variant looped =
        modRegistry::ObterValorString(a, QStringLiteral("dtUser"), Variant(QStringLiteral("d")));
    EXPECT_EQ(vb::CStr(looped), "d") << "a loop counts as absent";
}

// The shadow file lives in the common application data; a default read is
// written back only when the file exists.
TEST_F(SettingsStore, TheShadowFileAndTheDefaultsWrittenBackToIt)
{
    EXPECT_EQ(modRegistry::FicheiroShadow(),
              dir.filePath(QStringLiteral("common/Pelmor Software/RegShadow.db")));
    EXPECT_EQ(modRegistry::FicheiroShadowTemporario(),
              dir.filePath(QStringLiteral("common/Pelmor Software/RegShadow.tmp")));
    Variant v = modRegistry::ObterValorDWORD(kFrm, QStringLiteral("Left"), Variant(1200));
    EXPECT_EQ(vb::CLng(v), 1200);
    EXPECT_FALSE(QFileInfo::exists(modRegistry::FicheiroShadow())) << "no file is created for a default";
    EXPECT_TRUE(modRegistry::GarantirShadow());
    EXPECT_TRUE(QFileInfo::exists(modRegistry::FicheiroShadow()));
    EXPECT_FALSE(QFileInfo::exists(modRegistry::PastaShadow() + QStringLiteral("/TempXPTOPelmor.txt")));

    writeShadow("A:b=1\r\n");
    v = modRegistry::ObterValorDWORD(kFrm, QStringLiteral("Left"), Variant(1200));
    EXPECT_EQ(vb::CLng(v), 1200);
    EXPECT_EQ(shadowBytes(),
              "A:b=1\r\nHKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Shared\\TLV\\frm001:Left=1200\r\n");
    EXPECT_EQ(vb::CStr(modRegistry::ObterValorDWORD(kFrm, QStringLiteral("Left"))), "1200")
        << "a value from the shadow file comes back as its text";

    EXPECT_TRUE(modRegistry::ObterValorString(kFrm, QStringLiteral("Nada")).isNull());
    EXPECT_EQ(shadowBytes().count('\n'), 2) << "a null default writes nothing";
}

TEST_F(SettingsStore, WritesReplaceInPlaceKeepOrderAndSkipUnchangedValues)
{
    writeShadow("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Shared\\TLV\\FRM001:LEFT=5\r\n"
                "Outra:Chave=x\r\n"
                "HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Shared\\TLV\\frm001:LeftX=7\r\n"
                "hkey_local_machine\\software\\varnadel\\shared\\tlv\\frm001:left=6\r\n");
    EXPECT_EQ(modRegistry::DefinirValorDWORD(kFrm, QStringLiteral("Left"), 1200).type(),
              vb::VarType::Boolean);
    EXPECT_EQ(shadowBytes(), "HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Shared\\TLV\\frm001:Left=1200\r\n"
                             "Outra:Chave=x\r\n"
                             "HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Shared\\TLV\\frm001:LeftX=7\r\n");

    const QDateTime before = QFileInfo(modRegistry::FicheiroShadow()).lastModified();
    const qint64 inode = QFileInfo(modRegistry::FicheiroShadow()).metadataChangeTime().toMSecsSinceEpoch();
    QThread::msleep(20);
    EXPECT_TRUE(modRegistry::GravarShadow(kFrm, QStringLiteral("Left"), QStringLiteral("1200")));
    EXPECT_EQ(QFileInfo(modRegistry::FicheiroShadow()).lastModified(), before)
        << "same value: file untouched";
    EXPECT_EQ(QFileInfo(modRegistry::FicheiroShadow()).metadataChangeTime().toMSecsSinceEpoch(), inode);
    EXPECT_FALSE(QFileInfo::exists(modRegistry::FicheiroShadowTemporario()));

    EXPECT_EQ(modRegistry::LerShadow(kFrm, QStringLiteral("LeftX")), "7");
    EXPECT_EQ(modRegistry::LerShadow(kFrm, QStringLiteral("Left")), "1200");
}

TEST_F(SettingsStore, WritesFallBackToTheRegistryWhenTheShadowFolderIsNotWritable)
{
    qputenv("QUARVENSES_COMMON_APPDATA", "/proc/quarvenses-not-writable");
    platform::Registry::current().setValue(kFrm, QStringLiteral("Top"), platform::RegValue::dword(1));
    EXPECT_TRUE(modRegistry::DefinirValorDWORD(kFrm, QStringLiteral("Top"), 480).isEmpty());
    EXPECT_EQ(vb::CLng(modRegistry::ObterValorDWORD(kFrm, QStringLiteral("Top"))), 480);
    // A key that does not exist cannot be opened for writing: the value is lost silently.
    EXPECT_TRUE(
        modRegistry::DefinirValorDWORD(kTlv + QStringLiteral("\\Novo"), QStringLiteral("X"), 1).isEmpty());
    EXPECT_TRUE(modRegistry::ObterValorDWORD(kTlv + QStringLiteral("\\Novo"), QStringLiteral("X")).isNull());
}

TEST_F(SettingsStore, MalformedKeysShowTheFormatMessageAndYieldNothing)
{
    windows->queueAnswer(1);
    EXPECT_TRUE(
        modRegistry::ObterValorString(QStringLiteral("HKEY_LOCAL_MACHINE\\"), QStringLiteral("x")).isNull());
    windows->queueAnswer(1);
    EXPECT_TRUE(
        modRegistry::ObterValorDWORD(QStringLiteral("SOFTWARE\\Varnadel"), QStringLiteral("x")).isNull());
    ASSERT_EQ(windows->messageBoxes().size(), 2u);
    EXPECT_EQ(windows->messageBoxes()[0].text, "Formato Incorrecto:\n\nHKEY_LOCAL_MACHINE\\");
    EXPECT_EQ(windows->messageBoxes()[0].style, 0);
    EXPECT_EQ(windows->messageBoxes()[1].text, "Formato Incorrecto:\n\nSOFTWARE\\Varnadel");
    EXPECT_EQ(modRegistry::ObterHandleChavePrincipal(QStringLiteral("HKEY_DYN_DATA")), 0x80000006u);
    EXPECT_EQ(modRegistry::ObterHandleChavePrincipal(QStringLiteral("HKEY_NOWHERE")), 0u);
}

// Run by the test below in two child processes of this same program.
TEST(SettingsStoreWorker, WritesAThousandValues)
{
    const QString tag = qEnvironmentVariable("QV_SHADOW_WORKER");
    if (tag.isEmpty())
        GTEST_SKIP() << "only as a child of TwoProcessesWritingAThousandValuesEachLoseNone";
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(vb::CBool(modRegistry::DefinirValorDWORD(
                      QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Carga"), tag + QString::number(i), i)),
                  true);
}

TEST_F(SettingsStore, TwoProcessesWritingAThousandValuesEachLoseNone)
{
    ASSERT_TRUE(modRegistry::GarantirShadow());
    QProcess first, second;
    for (auto [p, tag] : {std::pair{&first, "a"}, std::pair{&second, "b"}}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QV_SHADOW_WORKER"), QString::fromLatin1(tag));
        p->setProcessEnvironment(env);
        p->start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--gtest_filter=SettingsStoreWorker.WritesAThousandValues")});
    }
    for (QProcess* p : {&first, &second}) {
        ASSERT_TRUE(p->waitForFinished(120000));
        ASSERT_EQ(p->exitCode(), 0) << p->readAllStandardOutput().toStdString();
    }
    EXPECT_EQ(modRegistry::LinhasShadow().size(), 2000);
    for (int i = 0; i < 1000; i += 97) {
        for (const char* tag : {"a", "b"})
            EXPECT_EQ(modRegistry::LerShadow(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Carga"),
                                             QString::fromLatin1(tag) + QString::number(i)),
                      QString::number(i));
    }
}
