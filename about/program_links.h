#pragma once
// Where the program's makers are found: its website and its support mail.
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

}  // namespace morvane
