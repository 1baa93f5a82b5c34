#include "tests/gui/gui_support.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTimer>

namespace sulcan::testing {

std::string SaveScreenshot(QWidget* widget, const std::string& name) {
    widget->show();
    QApplication::processEvents();
    QDir().mkpath(SULCAN_SCREENSHOT_DIR);
    const QString path = QString(SULCAN_SCREENSHOT_DIR) + "/" + QString::fromStdString(name) + ".png";
    widget->grab().save(path);
    return path.toStdString();
}

void WhenModalShown(const std::function<void(QWidget*)>& act, int timeoutMs) {
    auto* timer = new QTimer;
    auto elapsed = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [=] {
        *elapsed += 20;
        QWidget* modal = QApplication::activeModalWidget();
        if (modal || *elapsed > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            if (modal) act(modal);
        }
    });
    timer->start(20);
}

}  // namespace sulcan::testing
