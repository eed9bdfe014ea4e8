#pragma once
// What the program asks of the desktop: opening documents, links and help.
#include <string>

namespace morvane {

class DesktopService {
public:
    virtual ~DesktopService() = default;
    // Opens a web address, a mailto link or a file with the desktop's default
    // program, without waiting for it; a RuntimeError when none can be started.
    virtual void Open(const std::string& target) = 0;
};

// Help commands understood by the help viewer.
enum HelpCommand : int { kHelpDisplayToc = 1, kHelpDisplayIndex = 2, kHelpContextNumber = 15 };

// Shows a help file at a section of it (an id in the page; empty: the top).
class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual void ShowSection(const std::string& path, const std::string& section) = 0;
};

// The help viewer: `file` is the help file, optionally followed by ">" and
// the name of the window to show it in. A missing file is a RuntimeError.
void HtmlHelp(HelpViewer& viewer, const std::string& file, int command, long data);
// The same for a section of the help file by its id.
void ShowHelpSection(HelpViewer& viewer, const std::string& file, const std::string& section);

// Opens `file` with its default program.
void ShellExecute(DesktopService& desktop, const std::string& file);

}  // namespace morvane
