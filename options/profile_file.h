#pragma once
// Profiles: named sets of generation options, kept in one TOML file the user
// can edit by hand, each key a long option of morvane-cli:
//
//     window-start = "strong"
//
//     [strong]
//     length = 20
//     exclude-look-alikes = true
//
// The program's own changes rewrite only the lines they change, so that the
// user's comments and order stay as they were.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "options/cli_options.h"

namespace morvane {

struct ProfileProblem {
    std::string file;
    int line = 0;  // 0: the file as a whole
    std::string message;
    std::string Text() const;  // "FILE:LINE: message"
};

struct Profile {
    std::string name;
    ProfileOptions options;  // in the file's order
    int line = 0;            // where its table begins
};

struct ProfileFile {
    std::string window_start;  // the profile the window starts with; empty: the defaults
    std::vector<Profile> profiles;
    const Profile* Find(std::string_view name) const;
};

// Whether two files hold the same profiles with the same options, and the
// same window-start.
bool SameProfiles(const ProfileFile& a, const ProfileFile& b);

// A name is one word of letters, digits, '-' and '_'.
bool IsProfileName(std::string_view name);
// Why a profile of the user's cannot have this name, or nothing.
std::string ProfileNameProblem(std::string_view name);

// Reads the file's text; `file` names it in problems. Every profile is
// checked as morvane-cli would check its options.
std::optional<ProfileFile> ReadProfiles(std::string_view text, const std::string& file, ProfileProblem& problem);

// The text of a file that reads well (ReadProfiles took it) with one change
// each, the rest as it stands: the profile put in place of the one of its
// name, or added at the end; the profile of this name taken out (and
// window-start with it when it named it); window-start set, or taken out
// when `name` is empty.
std::string WithProfile(std::string_view text, const Profile& profile);
std::string WithoutProfile(std::string_view text, std::string_view name);
std::string WithWindowStart(std::string_view text, std::string_view name);

// A profile's table as the program writes it.
std::string ProfileTable(const Profile& profile);

}  // namespace morvane
