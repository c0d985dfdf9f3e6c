#include "platform/objects/CreateObject.h"
#include "platform/objects/ComponentRegistry.h"
#include "platform/objects/NotivarGeneral.h"
#include "tests/platform/VbFailure.h"
#include "tests/platform/objects/EchoContract.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using vbtest::errorOf;

namespace {

class Local : public EchoContract {
  public:
    QString echo(const QString& text) override { return QStringLiteral("local: ") + text; }
};

} // namespace

TEST(CreateObject, InProcessComponentsAreFoundWithoutRegardToCaseAndOthersFailWith429)
{
    const auto e = vbtest::raised([] { vb::CreateObject(QStringLiteral("Nobody.General")); });
    ASSERT_TRUE(e) << "created an object nobody provides";
    EXPECT_EQ(e->number(), 429);
    EXPECT_EQ(e->description(), QStringLiteral("ActiveX component can't create object"));
    EXPECT_EQ(e->source(), QStringLiteral("Nobody.General"));
    EXPECT_STREQ(e->what(), "429: ActiveX component can't create object");

    // In-process components are found without regard to case and cast to their contract.
    {
        platform::ScopedComponent local(QStringLiteral("QvTest.Local"),
                                        [] { return std::make_shared<Local>(); });
        auto echo = vb::CreateObjectAs<EchoContract>(QStringLiteral("qvtest.LOCAL"));
        EXPECT_EQ(echo->echo(QStringLiteral("olá")), QStringLiteral("local: olá"));
        // Each call makes a new object.
        EXPECT_NE(vb::CreateObject(QStringLiteral("QvTest.Local")),
                  vb::CreateObject(QStringLiteral("QvTest.Local")));
        // An object that lacks the contract is VB's 438.
        EXPECT_EQ(
            errorOf([] { vb::CreateObjectAs<contracts::NotivarGeneral>(QStringLiteral("QvTest.Local")); }),
            438);
        EXPECT_EQ(errorOf([] { vb::objectAs<EchoContract>(nullptr); }), 91);
    }
    EXPECT_EQ(errorOf([] { vb::CreateObject(QStringLiteral("QvTest.Local")); }), 429);
    // A factory that gives nothing is a component that cannot be created.
    platform::ScopedComponent empty(QStringLiteral("QvTest.Empty"), [] { return vb::ObjectRef(); });
    EXPECT_EQ(errorOf([] { vb::CreateObject(QStringLiteral("QvTest.Empty")); }), 429);
}

TEST(CreateObject, LoadsPluginsFromTheFolderTheEnvironmentNames)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(QStringLiteral(QV_TEST_PLUGIN), dir.filePath(QStringLiteral("libecho.so"))));
    ASSERT_TRUE(
        QFile::copy(QStringLiteral(QV_TEST_NOT_A_PLUGIN), dir.filePath(QStringLiteral("libnothing.so"))));
    QFile junk(dir.filePath(QStringLiteral("libjunk.so")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not an ELF file");
    junk.close();

    // An identifier registered in-process keeps its own factory.
    platform::ScopedComponent taken(QStringLiteral("QvTest.Taken"), [] { return std::make_shared<Local>(); });
    EXPECT_EQ(errorOf([] { vb::CreateObject(QStringLiteral("QvTest.Echo")); }), 429);

    const QByteArray before = qgetenv("QUARVENSES_COMPONENTS");
    qputenv("QUARVENSES_COMPONENTS", ("/nonexistent:" + dir.path()).toUtf8());
    EXPECT_TRUE(platform::ComponentRegistry::pluginFolders().contains(dir.path()));
    auto echo = vb::CreateObjectAs<EchoContract>(QStringLiteral("QvTest.Echo"));
    EXPECT_EQ(echo->echo(QStringLiteral("x")), QStringLiteral("eco: x"));
    EXPECT_EQ(vb::CreateObjectAs<EchoContract>(QStringLiteral("QvTest.Taken"))->echo(QStringLiteral("x")),
              QStringLiteral("local: x"));
    qputenv("QUARVENSES_COMPONENTS", before);
}

TEST(CreateObject, TheComponentsFolderBesideThePlatformLibraryIsSearched)
{
    // Tests run from build/bin; the platform library is in build/lib.
    const QString beside =
        QFileInfo(QCoreApplication::applicationDirPath() + QStringLiteral("/../lib/components"))
            .absoluteFilePath();
    const QStringList folders = platform::ComponentRegistry::pluginFolders();
    EXPECT_TRUE(folders.contains(QDir::cleanPath(beside))) << folders.join(' ').toStdString();
}
