#include "engine/word_list.h"

#include <unordered_set>

namespace morvane {
namespace {

bool IsBlank(char32_t c) { return c == U' ' || c == U'\t' || c == U'\r' || c == U'\v' || c == U'\f'; }
bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

struct TextHash {
    size_t operator()(const Text& t) const { return std::hash<std::u32string_view>()(t); }
};

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

}  // namespace

bool IsControlCharacter(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

std::string_view DropByteOrderMark(std::string_view utf8) {
    return utf8.substr(0, kUtf8Mark.size()) == kUtf8Mark ? utf8.substr(kUtf8Mark.size()) : utf8;
}

std::string WordListTextProblem(std::string_view utf8) {
    if (utf8.substr(0, 2) == "\xFF\xFE" || utf8.substr(0, 2) == "\xFE\xFF")
        return "is UTF-16 text; save it as UTF-8";
    size_t line = 1;
    for (size_t at = 0; at < utf8.size(); ++line) {
        size_t end = utf8.find('\n', at);
        if (end == std::string_view::npos) end = utf8.size();
        const std::string_view text = utf8.substr(at, end - at);
        at = end + 1;
        if (!IsValidUtf8(text)) return "is not UTF-8 text (line " + std::to_string(line) + ")";
        for (char32_t c : FromUtf8(text)) {
            if (c == 0) return "holds a NUL character on line " + std::to_string(line);
            if (IsControlCharacter(c) && c != U'\t' && c != U'\r')
                return "holds a control character on line " + std::to_string(line);
        }
    }
    return {};
}

// Whether a form of `word` that `word_case` writes holds a character of `separator`.
bool HoldsSeparator(const Text& word, const Text& separator, WordCase word_case) {
    const auto holds = [&](const Text& form) { return form.find_first_of(separator) != Text::npos; };
    switch (word_case) {
        case WordCase::kLower: return holds(LowerCase(word));
        case WordCase::kTitle: return holds(TitleCase(word));
        case WordCase::kUpper: return holds(UpperCase(word));
        case WordCase::kRandom: return holds(LowerCase(word)) || holds(TitleCase(word)) || holds(UpperCase(word));
    }
    return true;
}

std::vector<Text> ReadWordList(std::string_view utf8, const Text& separator, WordCase word_case) {
    std::vector<Text> words;
    std::unordered_set<Text, TextHash> seen;
    const Text all = FromUtf8(utf8);
    size_t at = 0;
    while (at < all.size()) {
        size_t end = all.find(U'\n', at);
        if (end == Text::npos) end = all.size();
        size_t from = at, to = end;
        at = end + 1;
        while (from < to && IsBlank(all[from])) ++from;
        // "11111 abacus": the dice roll that picks the word goes.
        size_t digits = from;
        while (digits < to && IsDigit(all[digits])) ++digits;
        size_t after = digits;
        while (after < to && IsBlank(all[after])) ++after;
        if (digits > from && after > digits && after < to) from = after;
        while (to > from && IsBlank(all[to - 1])) --to;  // and a line's CR
        if (from == to) continue;
        Text word = all.substr(from, to - from);
        if (HoldsSeparator(word, separator, word_case)) continue;
        if (seen.insert(LowerCase(word)).second) words.push_back(std::move(word));
    }
    return words;
}

}  // namespace morvane
