// Sulcan: the desktop application.
#include <QApplication>
#include <QSurfaceFormat>
#include <clocale>

#include "app/CSulcanApp.h"
#include "app/qt/CMainFrame.h"
#include "platform/qt/QtProfile.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    // The 3D viewer draws with fixed-function OpenGL: a compatibility context, a depth buffer
    // and no multisampling (which would break reading the pictures back).
    QSurfaceFormat format;
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    format.setSamples(0);
    QSurfaceFormat::setDefaultFormat(format);

    QApplication qt(argc, argv);
    // File headers are read with scanf: numbers always use the decimal point.
    setlocale(LC_NUMERIC, "C");
    QApplication::setOrganizationName("Tessaril");
    QApplication::setApplicationName("Sulcan");
    sulcan::QtProfile profile;
    sulcan::CSulcanApp app(args, profile);
    if (app.endsAtOnce()) return 0;
    sulcan::CMainFrame frame(app);
    frame.show();
    return qt.exec();
}
