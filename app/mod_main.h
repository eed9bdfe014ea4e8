#pragma once
// The program's links and its help file.
#include <string>

#include "platform/contracts/desktop.h"
#include "platform/contracts/message_box.h"

namespace morvane {

inline const std::string kWebsite = "https://morvane.example.org/";
inline const std::string kSupportEmail = "support@morvane.example.org";
inline const std::string kEmailLink =
    "mailto:" + kSupportEmail + "?body=Morvane%0aPassword%0aGenerator";

void OpenWebsite(DesktopService& desktop, MessageBoxService& box);
void OpenEmail(DesktopService& desktop, MessageBoxService& box);

// The help file beside the program, followed by the window to show it in.
std::string HelpFileName(const std::string& program_folder);

}  // namespace morvane
