#pragma once
// A window's message procedure that can be replaced and chained, registered
// message names, and the record the Find and Replace dialogs send.
#include <cstdint>
#include <functional>
#include <string>

namespace morvane {

using WindowProc = std::function<intptr_t(unsigned message, uintptr_t wparam, intptr_t lparam)>;

class MessageWindow {
public:
    MessageWindow() : proc_([](unsigned, uintptr_t, intptr_t) { return intptr_t{0}; }) {}
    // Installs `proc` and returns the procedure it replaces.
    WindowProc SetWindowProc(WindowProc proc) {
        WindowProc old = std::move(proc_);
        proc_ = std::move(proc);
        return old;
    }
    intptr_t Send(unsigned message, uintptr_t wparam, intptr_t lparam) {
        WindowProc current = proc_;  // the procedure may be replaced while it runs
        return current(message, wparam, lparam);
    }

private:
    WindowProc proc_;
};

// The identifier of a registered message name, the same for every call with
// that name; 0 when registration fails.
unsigned RegisterWindowMessage(const std::string& name);
// Makes registration fail from now on (for tests of that path).
void FailMessageRegistration(bool fail);

enum FindReplaceFlags : uint32_t {
    FR_DOWN = 0x1,
    FR_WHOLEWORD = 0x2,
    FR_MATCHCASE = 0x4,
    FR_FINDNEXT = 0x8,
    FR_REPLACE = 0x10,
    FR_REPLACEALL = 0x20,
    FR_DIALOGTERM = 0x40,
};

// The find and replace fields hold up to this many characters. Their texts
// travel as UTF-8 in buffers of kFindBufferBytes, which take the longest
// such text and its ending 0 byte; the record's lengths count characters.
constexpr int kFindTextLimit = 1024;
constexpr int kFindBufferBytes = 4 * kFindTextLimit + 1;

struct FindReplaceRecord {
    uint32_t lStructSize = 40;
    MessageWindow* hwndOwner = nullptr;
    uint32_t Flags = 0;
    char* lpstrFindWhat = nullptr;  // UTF-8 text, NUL-ended
    uint16_t wFindWhatLen = 0;
    char* lpstrReplaceWith = nullptr;
    uint16_t wReplaceWithLen = 0;
};

}  // namespace morvane
