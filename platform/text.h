#pragma once
// Texts are held as whole Unicode code points, so a character is never split.
#include <string>
#include <string_view>

namespace morvane {

using Text = std::u32string;

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

}  // namespace morvane
