#pragma once
// The program's help file; its links are the About box's.
#include <string>

#include "about/program_links.h"

namespace morvane {

// The help file beside the program, followed by the window to show it in.
std::string HelpFileName(const std::string& program_folder);

}  // namespace morvane
