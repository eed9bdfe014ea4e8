#include "app/mod_main.h"

namespace morvane {

std::string HelpFileName(const std::string& program_folder) {
    return program_folder + "/Morvane.html" + ">Main";
}

}  // namespace morvane
