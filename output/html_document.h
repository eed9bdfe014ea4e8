#pragma once
// The password list as one fixed HTML page.
#include "platform/text.h"

namespace morvane {

inline constexpr const char* kMakerCredit = "Copyright 2026 Morvane Software";
inline constexpr const char* kMakerCompany = "Morvane Software";
inline constexpr const char* kMakerSite = "https://morvane.example.org/";

#include <string>

// The page around the list: everything before it and everything after it.
std::string HtmlDocumentHead();
std::string HtmlDocumentTail();
Text BuildHtmlDocument(const Text& list);

}  // namespace morvane
