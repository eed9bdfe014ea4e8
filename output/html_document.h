#pragma once
// The password list as one fixed HTML page.
#include "platform/base/text.h"

namespace morvane {

inline constexpr const char* kMakerCredit = "Copyright 2026 Morvane Software";
inline constexpr const char* kMakerCompany = "Morvane Software";
inline constexpr const char* kMakerSite = "https://morvane.example.org/";

#include <string>
#include <string_view>

// The page around the list: everything before it and everything after it.
// The page declares UTF-8, the encoding it is written in.
std::string HtmlDocumentHead();
std::string HtmlDocumentTail();
// The list as the page holds it: &, < and > as entities, so that a browser
// shows every password exactly; nothing else changes.
Text HtmlEscaped(const Text& text);
void AppendHtmlEscaped(std::string& out, std::string_view utf8);
Text BuildHtmlDocument(const Text& list);

}  // namespace morvane
