#pragma once
// What the user chose in the window and keeps between starts (the delay
// of the clipboard, the window's place), in one settings file that
// morvane-cli's clipboard helper reads too. It lives with every other file
// the program keeps, in $XDG_CONFIG_HOME/morvane/; a file that earlier
// versions kept in ~/.config/Morvane/ is moved there once.
#include <QSettings>
#include <QString>

namespace morvane {

QString ProgramSettingsFile();
QSettings ProgramSettings();

}  // namespace morvane
