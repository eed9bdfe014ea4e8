#pragma once
// Writing a file whole or not at all: the text goes to a new file beside
// it, readable by the user alone from its first instant, is flushed to the
// disk, and then takes the file's place in one step. A file that is a
// symbolic link is written at its target, which stays where the link points;
// a failure leaves the old file as it was and no new file behind.
#include <string>

namespace morvane {

// What went wrong, in words after the path, or nothing.
std::string WriteFileAtomically(const std::string& path, const std::string& text);

// The same for a file that must be new: nothing already at `path` (a file,
// a link or anything else) is written over or followed.
std::string CreateFileWhole(const std::string& path, const std::string& text);

}  // namespace morvane
