#pragma once
// What the user chose in the window and keeps between starts (the delay
// of the clipboard, the window's place), in one settings file that
// morvane-cli's clipboard helper reads too.
#include <QSettings>

namespace morvane {

inline QSettings ProgramSettings() { return QSettings("Morvane", "Morvane Password Generator"); }

}  // namespace morvane
