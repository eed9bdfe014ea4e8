#pragma once
// The user names a list of new accounts gives, one a line, each as a Linux
// system takes it.
#include <string>
#include <vector>

namespace morvane {

// The names read from `path` ("-": standard input), or none with `problem`
// naming the line that is wrong.
std::vector<std::string> ReadUserNames(const std::string& path, std::string& problem);

}  // namespace morvane
