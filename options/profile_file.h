#pragma once
// Profiles: named sets of generation options, kept in one TOML file the user
// can edit by hand, each key a long option of morvane-cli.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

struct ProfileProblem {
    std::string file;
    int line = 0;  // 0: the file as a whole
    std::string message;
    std::string Text() const;  // "FILE:LINE: message"
};

struct Profile {
    std::string name;
    // The options as morvane-cli's arguments, in the file's order:
    // "--count", "5", "--exclude-look-alikes", ...
    std::vector<std::string> arguments;
};

struct ProfileFile {
    std::string window_start;  // the profile the window starts with; empty: the defaults
    std::vector<Profile> profiles;
    const Profile* Find(std::string_view name) const;
};

// A name is one word of letters, digits, '-' and '_'.
bool IsProfileName(std::string_view name);

// Reads the file's text; `file` names it in problems.
std::optional<ProfileFile> ReadProfiles(std::string_view text, const std::string& file, ProfileProblem& problem);

}  // namespace morvane
