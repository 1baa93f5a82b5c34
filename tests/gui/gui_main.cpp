// The widget tests share one QApplication. Without a display (ctest outside xvfb-run) the
// dialogs run on Qt's offscreen platform; anything needing OpenGL requires the display.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

// Qt and Mesa keep memory until exit: no leak report for the widget tests (also when ctest
// lists them). The other sanitizer checks stay on.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

int main(int argc, char** argv) {
    if (!std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Sulcan");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
