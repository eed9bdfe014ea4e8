#pragma once
// Where the program keeps the user's own files.
#include <string>

namespace morvane {

// $XDG_CONFIG_HOME/morvane, or ~/.config/morvane when it is unset or not
// an absolute path.
std::string ConfigFolder();
// Why the program cannot write there (HOME unset or not an absolute path,
// with no absolute XDG_CONFIG_HOME), or nothing.
std::string ConfigFolderProblem();

}  // namespace morvane
