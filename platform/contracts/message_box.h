#pragma once
// Modal message boxes. The program asks through this interface so that the
// desktop shows real dialogs and tests answer them by script.
#include <string>

namespace morvane {

// Button sets and results, numbered as the program's callers expect.
enum MsgButtons : int { kOkOnly = 0, kOkCancel = 1, kYesNo = 4 };
enum MsgIcon : int { kNoIcon = 0, kIconExclamation = 48 };
enum MsgResult : int { kResultOk = 1, kResultCancel = 2, kResultYes = 6, kResultNo = 7 };

inline const std::string kAppTitle = "Morvane Password Generator";

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // Shows `text` (lines separated by CR LF) and waits for the answer.
    // An empty title shows the application's title.
    virtual int Show(const std::string& text, int buttons, const std::string& title) = 0;
    // The system beep of an unsuccessful search.
    virtual void Beep() = 0;
};

}  // namespace morvane
