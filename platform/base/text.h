#pragma once
// Texts are held as whole Unicode code points, so a character is never split.
// They hold passwords, so their memory is zeroed when released.
#include <string>
#include <string_view>

#include "platform/base/wiped_memory.h"

namespace morvane {

using Text = std::basic_string<char32_t, std::char_traits<char32_t>, WipingAllocator<char32_t>>;

// A byte that starts no well-formed character reads as U+FFFD.
Text FromUtf8(std::string_view utf8);
// Well-formed: no stray or missing continuation byte, no overlong form, no
// surrogate, nothing past U+10FFFF.
bool IsValidUtf8(std::string_view utf8);
// Always well-formed UTF-8: a lone surrogate or a value past U+10FFFF is
// written as U+FFFD.
std::string ToUtf8(std::u32string_view text);
void AppendUtf8(std::string& out, std::u32string_view text);
// Plain ASCII literals and numbers.
Text Ascii(std::string_view ascii);

// The text with A-Z as a-z, whatever the locale.
std::string AsciiLower(std::string_view text);

}  // namespace morvane
