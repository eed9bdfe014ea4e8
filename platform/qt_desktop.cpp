#include "platform/qt_desktop.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace morvane {

void QtDesktop::Open(const std::string& target) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(target)));
}

QString DocumentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

}  // namespace morvane
