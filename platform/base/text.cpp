#include "platform/base/text.h"

namespace morvane {
namespace {

constexpr char32_t kReplacement = U'\uFFFD';

bool IsSurrogate(char32_t cp) { return cp >= 0xD800 && cp <= 0xDFFF; }

// The code point of the well-formed sequence at the start of `s` and its
// length in bytes; length 0 when none starts there (a stray or missing
// continuation byte, an overlong form, a surrogate, past U+10FFFF).
std::pair<char32_t, size_t> DecodeOne(std::string_view s) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return {lead, 1};
    size_t extra;
    char32_t cp, least;
    if (lead >= 0xC2 && lead <= 0xDF) extra = 1, cp = lead & 0x1F, least = 0x80;
    else if (lead >= 0xE0 && lead <= 0xEF) extra = 2, cp = lead & 0x0F, least = 0x800;
    else if (lead >= 0xF0 && lead <= 0xF4) extra = 3, cp = lead & 0x07, least = 0x10000;
    else return {0, 0};
    if (s.size() <= extra) return {0, 0};
    for (size_t k = 1; k <= extra; ++k) {
        if ((byte(k) & 0xC0) != 0x80) return {0, 0};
        cp = (cp << 6) | (byte(k) & 0x3F);
    }
    if (cp < least || cp > 0x10FFFF || IsSurrogate(cp)) return {0, 0};
    return {cp, extra + 1};
}

}  // namespace

Text FromUtf8(std::string_view s) {
    Text out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const auto [cp, length] = DecodeOne(s.substr(i));
        if (length == 0) {
            // The byte that starts no character is replaced; whatever follows
            // it is read afresh, so nothing after it is lost.
            out.push_back(kReplacement);
            ++i;
        } else {
            out.push_back(cp);
            i += length;
        }
    }
    return out;
}

bool IsValidUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const size_t length = DecodeOne(s.substr(i)).second;
        if (length == 0) return false;
        i += length;
    }
    return true;
}

std::string ToUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendUtf8(out, text);
    return out;
}

void AppendUtf8(std::string& out, std::u32string_view text) {
    for (char32_t cp : text) {
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
            continue;
        }
        // A lone surrogate (a paste can bring one) or a value past Unicode
        // has no UTF-8 form: it is written as the replacement character.
        if (IsSurrogate(cp) || cp > 0x10FFFF) cp = kReplacement;
        if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
}

Text Ascii(std::string_view ascii) { return Text(ascii.begin(), ascii.end()); }

std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

}  // namespace morvane
