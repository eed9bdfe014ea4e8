#pragma once
// Where the program keeps the user's own files.
#include <string>

namespace morvane {

// $XDG_CONFIG_HOME/morvane, or ~/.config/morvane when it is unset or not
// an absolute path.
std::string ConfigFolder();

}  // namespace morvane
