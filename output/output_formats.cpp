#include "output/output_formats.h"

#include <charconv>
#include <cstdio>

#include "output/html_document.h"
#include "platform/base/text.h"

namespace morvane {
namespace {

std::string Nothing() { return {}; }

void AppendEscapedForPage(std::string& out, std::string_view password, double /*bits*/) {
    AppendHtmlEscaped(out, password);
}

// {"password": "...", "length": 8, "bits": 52.44}
void AppendJsonLine(std::string& out, std::string_view password, double bits) {
    out += "{\"password\": ";
    AppendJsonString(out, password);
    char number[64];
    const auto written = std::to_chars(number, number + sizeof number, bits, std::chars_format::fixed, 2);
    out += ", \"length\": " + std::to_string(FromUtf8(password).size()) + ", \"bits\": ";
    out.append(number, written.ptr);
    out += '}';
}

constexpr OutputFormatEntry kFormats[] = {
    {OutputFormat::kText, "text", Nothing, Nothing, nullptr},
    {OutputFormat::kHtml, "html", HtmlDocumentHead, HtmlDocumentTail, AppendEscapedForPage},
    {OutputFormat::kNdjson, "ndjson", Nothing, Nothing, AppendJsonLine},
    {OutputFormat::kJson, "json", [] { return std::string("[\n"); }, [] { return std::string("]"); }, AppendJsonLine, ","},
};

}  // namespace

std::span<const OutputFormatEntry> OutputFormats() { return kFormats; }

const OutputFormatEntry& FormatEntry(OutputFormat format) {
    for (const OutputFormatEntry& entry : kFormats)
        if (entry.format == format) return entry;
    return kFormats[0];
}

const OutputFormatEntry* FindFormat(std::string_view name) {
    for (const OutputFormatEntry& entry : kFormats)
        if (entry.name == name) return &entry;
    return nullptr;
}

std::string FormatNames() {
    std::string names;
    const size_t count = std::size(kFormats);
    for (size_t i = 0; i < count; ++i) {
        if (i > 0) names += i + 1 == count ? " or " : ", ";
        names += kFormats[i].name;
    }
    return names;
}

void AppendJsonString(std::string& out, std::string_view utf8) {
    out += '"';
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    out += '"';
}

}  // namespace morvane
