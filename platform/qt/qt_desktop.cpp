#include "platform/qt/qt_desktop.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include "platform/base/runtime_error.h"

namespace morvane {

void QtDesktop::Open(const std::string& target) {
    const QUrl url(QString::fromStdString(target));
    if (!QDesktopServices::openUrl(url)) {
        const std::string what = url.isLocalFile() ? url.toLocalFile().toStdString() : target;
        throw RuntimeError(kErrFileNotFound, "No program could be started to open " + what);
    }
}

QString DocumentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

}  // namespace morvane
