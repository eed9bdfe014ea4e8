#pragma once
// --copy: a password onto the desktop's clipboard, where a helper that
// stays behind (as `pass -c` leaves one) clears it after its delay, only
// while the clipboard still holds it.
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

struct CopyResult {
    bool copied = false;
    int delay_seconds = 0;  // 0: never cleared
    std::string problem;    // why not, in plain words
};

// Whether there is a desktop to copy to (an X or Wayland display).
bool DesktopToCopyTo();

// Hands `password` to the helper beside the program; `clear_after`: the
// delay, or none for the one the window keeps.
CopyResult CopyToClipboard(std::string_view password, std::optional<int> clear_after);

}  // namespace morvane
