#include "platform/contracts/desktop.h"

#include <filesystem>

#include "platform/base/runtime_error.h"

namespace morvane {

void HtmlHelp(DesktopService& desktop, const std::string& file, int command, long data) {
    std::string path = file.substr(0, file.find('>'));
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        throw RuntimeError(kErrFileNotFound, "The help file " + path + " was not found");
    std::string url = "file://" + std::filesystem::absolute(path, ec).string();
    if (command == kHelpDisplayIndex) url += "#index";
    else if (command == kHelpContextNumber) url += "#topic-" + std::to_string(data);
    else url += "#contents";
    desktop.Open(url);
}

void ShellExecute(DesktopService& desktop, const std::string& file) { desktop.Open(file); }

}  // namespace morvane
