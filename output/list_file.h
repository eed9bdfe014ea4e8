#pragma once
// Writing a saved list to disk without ever destroying the file it replaces.
#include <string>

namespace morvane {

// Writes `content` (UTF-8) to `path` through a temporary file in the same
// folder that then takes the path's place. Returns an empty text on success,
// otherwise what went wrong.
std::string WriteFileReplacing(const std::string& path, const std::string& content);

}  // namespace morvane
