#pragma once
// Texts are held as whole Unicode code points, so a character is never split.
#include <string>
#include <string_view>

namespace morvane {

using Text = std::u32string;

Text FromUtf8(std::string_view utf8);
std::string ToUtf8(std::u32string_view text);
void AppendUtf8(std::string& out, std::u32string_view text);
// Plain ASCII literals and numbers.
Text Ascii(std::string_view ascii);

}  // namespace morvane
