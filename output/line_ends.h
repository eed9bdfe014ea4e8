#pragma once
// The list keeps CR LF between its lines; what leaves the window for other
// programs (a saved file, the clipboard) carries the platform's line end.
#include <string>
#include <string_view>

#include "platform/base/text.h"

namespace morvane {

inline constexpr char32_t kLineFeed = U'\n';

// Calls `run` for each stretch of `text` between line ends (CR LF, or a
// lone CR or LF), the last one included, and `line_end` for each line end.
template <class Run, class LineEnd>
void SplitAtLineEnds(const Text& text, Run run, LineEnd line_end) {
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != U'\r' && text[i] != U'\n') continue;
        run(std::u32string_view(text).substr(start, i - start));
        line_end();
        if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') ++i;
        start = i + 1;
    }
    run(std::u32string_view(text).substr(start));
}

// `text` in UTF-8 after `out`, each CR LF or lone CR written as LF.
void AppendUtf8WithLineFeeds(std::string& out, const Text& text);
// Ends `out` with exactly one line end unless it is empty.
void EndWithOneLineEnd(std::string& out);
// What a copy of `selected` puts on the clipboard: LF line ends, and one
// whole line without its line end, so that it pastes as the password.
Text ClipboardText(const Text& selected);

}  // namespace morvane
