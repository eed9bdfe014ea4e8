#pragma once
// The profiles the program comes with: read-only, listed with the user's
// own, and their names kept from the user's.
#include <span>
#include <string_view>

#include "options/cli_options.h"

namespace morvane {

struct BuiltInProfile {
    const char* name;
    const char* purpose;  // what it is for, in a few words
    ProfileOptions options;
};

std::span<const BuiltInProfile> BuiltInProfiles();
// The built-in profile of this name, or none.
const BuiltInProfile* FindBuiltInProfile(std::string_view name);

}  // namespace morvane
