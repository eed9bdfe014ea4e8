#include "about/program_links.h"

#include "platform/contracts/error_report.h"

namespace morvane {

void OpenWebsite(DesktopService& desktop, MessageBoxService& box) {
    TrapErrors(box, Owner::kModule, "OpenWebsite", [&] { ShellExecute(desktop, kWebsite); });
}

void OpenEmail(DesktopService& desktop, MessageBoxService& box) {
    TrapErrors(box, Owner::kModule, "OpenEmail", [&] { ShellExecute(desktop, kEmailLink); });
}

}  // namespace morvane
