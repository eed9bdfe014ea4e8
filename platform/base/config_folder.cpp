#include "platform/base/config_folder.h"

#include <cstdlib>

namespace morvane {

std::string ConfigFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config == '/') return std::string(config) + "/morvane";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.config/morvane";
}

std::string ConfigFolderProblem() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config == '/') return {};
    const char* home = std::getenv("HOME");
    if (!home || !*home) return "HOME is not set, so there is no folder for your own files: set HOME or XDG_CONFIG_HOME";
    if (*home != '/')
        return std::string("HOME is not an absolute path (") + home +
               "), so there is no folder for your own files: set HOME or XDG_CONFIG_HOME";
    return {};
}

}  // namespace morvane
