// Test programs run with a real QApplication (offscreen in CI), so widgets,
// timers and the event loop behave as they do for a user.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // The offscreen screen is a desktop's (1920×1080), not the plugin's own
    // 800×600, on which the windows would be made smaller to fit.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    QTemporaryFile screens(QDir::tempPath() + QStringLiteral("/quarvenses-screens-XXXXXX.json"));
    if (platform.isEmpty() || platform == "offscreen") {
        screens.open();
        screens.write(R"({"screens": [{"name": "Ecra", "x": 0, "y": 0, "width": 1920, "height": 1080,
                          "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        screens.flush();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screens.fileName()));
    }
    // Where the tests find the project's own files (scripts, schema), run
    // by ctest or by hand.
    if (qEnvironmentVariableIsEmpty("QUARVENSES_SOURCE_DIR"))
        qputenv("QUARVENSES_SOURCE_DIR", QV_SOURCE_DIR);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
