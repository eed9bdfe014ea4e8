#pragma once
// The formats a list of passwords is written in, as one table: the plain
// list, the HTML page, one JSON object a line, and one JSON array of them. A new format is one entry
// with its writers.
#include <span>
#include <string>
#include <string_view>

namespace morvane {

enum class OutputFormat { kText, kHtml, kNdjson, kJson };

struct OutputFormatEntry {
    OutputFormat format;
    std::string_view name;  // as morvane-cli's --format names it
    // What stands before the first password and after the last.
    std::string (*head)();
    std::string (*tail)();
    // One password as UTF-8, without its line end; `bits` is its entropy.
    // None when the password is written as it is.
    void (*append_password)(std::string& out, std::string_view password, double bits);
    // What stands before every password but the first, after the line end.
    std::string_view between = {};
};

// The most passwords one JSON document holds: a run is one array, read whole.
inline constexpr int kMostInJsonDocument = 100000;

std::span<const OutputFormatEntry> OutputFormats();
const OutputFormatEntry& FormatEntry(OutputFormat format);
// The entry of this name, or none.
const OutputFormatEntry* FindFormat(std::string_view name);
// The names for a message: "text, html or ndjson".
std::string FormatNames();

// A JSON string of the UTF-8 text, every character JSON requires escaped;
// characters beyond ASCII stay as UTF-8.
void AppendJsonString(std::string& out, std::string_view utf8);

}  // namespace morvane
