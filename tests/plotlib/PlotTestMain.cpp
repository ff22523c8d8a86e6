#include <QApplication>
#include <gtest/gtest.h>

// Fonts and painters need an application object. The drawing tests need no screen, so they run
// on the off-screen platform unless told otherwise (test discovery at build time has no display).
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
