#pragma once
// The list keeps CR LF between its lines; what leaves the window for other
// programs (a saved file, the clipboard) carries the platform's line end.
#include <string>

#include "platform/text.h"

namespace morvane {

inline constexpr char32_t kLineFeed = U'\n';

// `text` in UTF-8 after `out`, each CR LF or lone CR written as LF.
void AppendUtf8WithLineFeeds(std::string& out, const Text& text);
// Ends `out` with exactly one line end unless it is empty.
void EndWithOneLineEnd(std::string& out);
// What a copy of `selected` puts on the clipboard: LF line ends, and one
// whole line without its line end, so that it pastes as the password.
Text ClipboardText(const Text& selected);

}  // namespace morvane
