#include "output/line_ends.h"

#include <algorithm>

namespace morvane {
namespace {

// Calls `run` for each stretch between line ends and `line_end` for each.
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

}  // namespace

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
