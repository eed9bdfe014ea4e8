#include "cli/user_list.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <set>

namespace morvane {
namespace {

constexpr size_t kLongestName = 32;  // what useradd takes

// A name as useradd takes it by default, and as chpasswd and htpasswd read
// it: a letter or _, then letters, digits, _, - or ., and perhaps a closing
// $ (a machine account); never a colon.
bool IsUserName(const std::string& name) {
    if (name.empty() || name.size() > kLongestName) return false;
    const auto ordinary = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
               c == '.';
    };
    const char first = name.front();
    if (!((first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z') || first == '_')) return false;
    const size_t body = name.back() == '$' ? name.size() - 1 : name.size();
    return std::all_of(name.begin(), name.begin() + static_cast<long>(body), ordinary);
}

}  // namespace

std::vector<std::string> ReadUserNames(const std::string& path, std::string& problem) {
    const bool standard_input = path == "-";
    std::ifstream file;
    if (!standard_input) {
        file.open(path);
        if (!file) {
            problem = path + ": " + std::strerror(errno);
            return {};
        }
    }
    std::istream& in = standard_input ? std::cin : file;
    const std::string source = standard_input ? "standard input" : path;
    std::vector<std::string> names;
    std::set<std::string> seen;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto bad = [&](const std::string& why) {
            problem = source + ", line " + std::to_string(number) + ": " + why;
            return std::vector<std::string>{};
        };
        if (line.empty()) return bad("an empty line, where a user name was expected");
        if (!IsUserName(line))
            return bad("\"" + line + "\" is not a user name (a letter or _, then letters, digits, _, - or ., at most " +
                       std::to_string(kLongestName) + " characters)");
        if (!seen.insert(line).second) return bad("\"" + line + "\" is named twice");
        names.push_back(line);
    }
    if (in.bad()) {
        problem = source + ": " + std::strerror(errno);
        return {};
    }
    if (names.empty()) problem = source + " names no user";
    return names;
}

}  // namespace morvane
