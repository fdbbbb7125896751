// main() of the test binaries whose tests paint: one QGuiApplication for
// the whole run, on the offscreen platform.
#include "platform/qt/offscreen_gui.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Test discovery runs the binary without the tests' environment.
    PreferOffscreenPlatform();
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
