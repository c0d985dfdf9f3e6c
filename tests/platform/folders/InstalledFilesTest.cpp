// The shared files are found from the platform library itself, in the build
// tree as once installed, without any environment variable.
#include "platform/folders/InstalledFiles.h"

#include <QFileInfo>
#include <gtest/gtest.h>

TEST(InstalledFiles, TheSharedFilesAreFoundFromTheLibrary)
{
    const QString libraries = platform::libraryFolder();
    ASSERT_FALSE(libraries.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(libraries + QStringLiteral("/libquarvenses_platform.so")));

    const QString schema = platform::findDataFile(QStringLiteral("schema/embedded.sql"));
    ASSERT_FALSE(schema.isEmpty());
    EXPECT_TRUE(QFileInfo(schema).isFile());
    EXPECT_TRUE(schema.endsWith(QStringLiteral("/share/quarvenses/schema/embedded.sql")))
        << schema.toStdString();
    EXPECT_TRUE(
        platform::dataFolders().contains(QFileInfo(schema).path().chopped(QStringLiteral("/schema").size())));

    EXPECT_TRUE(platform::findDataFile(QStringLiteral("schema/nao-existe.sql")).isEmpty());
    EXPECT_EQ(platform::installedComponentsFolder(), libraries + QStringLiteral("/quarvenses/components"));
}
