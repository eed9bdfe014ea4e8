#include "platform/contracts/desktop.h"

#include <filesystem>

#include "platform/base/runtime_error.h"

namespace morvane {

void ShowHelpSection(HelpViewer& viewer, const std::string& file, const std::string& section) {
    std::string path = file.substr(0, file.find('>'));
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        throw RuntimeError(kErrFileNotFound, "The help file " + path + " was not found");
    viewer.ShowSection(std::filesystem::absolute(path, ec).string(), section);
}

void HtmlHelp(HelpViewer& viewer, const std::string& file, int command, long data) {
    std::string section = "contents";
    if (command == kHelpDisplayIndex) section = "index";
    else if (command == kHelpContextNumber) section = "topic-" + std::to_string(data);
    ShowHelpSection(viewer, file, section);
}

void ShellExecute(DesktopService& desktop, const std::string& file) { desktop.Open(file); }

}  // namespace morvane
