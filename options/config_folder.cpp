#include "options/config_folder.h"

#include <cstdlib>

namespace morvane {

std::string ConfigFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config == '/') return std::string(config) + "/morvane";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.config/morvane";
}

}  // namespace morvane
