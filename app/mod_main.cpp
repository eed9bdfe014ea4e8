#include "app/mod_main.h"

#include "platform/contracts/error_report.h"

namespace morvane {

void OpenWebsite(DesktopService& desktop, MessageBoxService& box) {
    TrapErrors(box, Owner::kModule, "OpenWebsite", [&] { ShellExecute(desktop, kWebsite); });
}

void OpenEmail(DesktopService& desktop, MessageBoxService& box) {
    TrapErrors(box, Owner::kModule, "OpenEmail", [&] { ShellExecute(desktop, kEmailLink); });
}

std::string HelpFileName(const std::string& program_folder) {
    return program_folder + "/Morvane.html" + ">Main";
}

}  // namespace morvane
