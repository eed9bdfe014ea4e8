#include "output/line_ends.h"

#include <algorithm>

namespace morvane {

void AppendUtf8WithLineFeeds(std::string& out, const Text& text) {
    SplitAtLineEnds(text, [&](std::u32string_view run) { AppendUtf8(out, run); }, [&] { out += '\n'; });
}

void EndWithOneLineEnd(std::string& out) {
    if (!out.empty() && out.back() != '\n') out += '\n';
}

Text ClipboardText(const Text& selected) {
    Text copied;
    copied.reserve(selected.size());
    SplitAtLineEnds(selected, [&](std::u32string_view run) { copied += run; }, [&] { copied += kLineFeed; });
    if (std::count(copied.begin(), copied.end(), kLineFeed) == 1 && copied.back() == kLineFeed) copied.pop_back();
    return copied;
}

}  // namespace morvane
