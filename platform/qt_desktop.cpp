#include "platform/qt_desktop.h"

#include <QDesktopServices>
#include <QUrl>

namespace morvane {

void QtDesktop::Open(const std::string& target) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(target)));
}

}  // namespace morvane
