#include "edit/program_settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/base/config_folder.h"

namespace morvane {
namespace {

// Where the window's settings were kept before all the program's files
// went into one folder: beside it, where Qt keeps an organisation's
// settings.
QString EarlierSettingsFile() {
    return QFileInfo(QString::fromStdString(ConfigFolder())).path() + "/Morvane/Morvane Password Generator.conf";
}

// Moves an earlier settings file into the program's folder, unless one is
// there already; a move that cannot be made leaves it where it was, read
// no more.
void MoveEarlierSettings(const QString& file) {
    const QString earlier = EarlierSettingsFile();
    if (QFileInfo::exists(file) || !QFileInfo(earlier).isFile()) return;
    const QFileInfo target(file);
    if (!QDir().mkpath(target.path())) return;
    QFile::setPermissions(target.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!QFile::rename(earlier, file)) return;
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    QDir().rmdir(QFileInfo(earlier).path());  // only when nothing else is left in it
}

}  // namespace

QString ProgramSettingsFile() { return QString::fromStdString(ConfigFolder()) + "/morvane.conf"; }

QSettings ProgramSettings() {
    const QString file = ProgramSettingsFile();
    MoveEarlierSettings(file);
    return QSettings(file, QSettings::IniFormat);
}

}  // namespace morvane
