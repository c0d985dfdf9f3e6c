// Test programs run with a real QApplication (offscreen in CI), so widgets,
// timers and the event loop behave as they do for a user.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Where the tests find the project's own files (scripts, schema), run
    // by ctest or by hand.
    if (qEnvironmentVariableIsEmpty("QUARVENSES_SOURCE_DIR"))
        qputenv("QUARVENSES_SOURCE_DIR", QV_SOURCE_DIR);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
