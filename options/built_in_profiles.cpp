#include "options/built_in_profiles.h"

#include <algorithm>
#include <vector>

namespace morvane {

// The characters a shell reads as more than themselves, for a password that
// goes into a script or a command line without quoting.
constexpr const char* kShellMetacharacters = "` ~ ! # $ & * ( ) \\ | ; ' \" < > ? [ ] { } ^";

std::span<const BuiltInProfile> BuiltInProfiles() {
    static const std::vector<BuiltInProfile> profiles = {
        {"pin4", "a 4-digit PIN", {{"length", "4"}, {"no-upper", ""}, {"no-lower", ""}, {"no-special", ""}}},
        {"pin6", "a 6-digit PIN", {{"length", "6"}, {"no-upper", ""}, {"no-lower", ""}, {"no-special", ""}}},
        {"letters-digits", "16 letters and digits, for sites that take no symbols",
         {{"length", "16"}, {"no-special", ""}}},
        {"strong", "20 characters with one of each type and no look-alikes",
         {{"length", "20"}, {"exclude-look-alikes", ""}, {"each-type", ""}}},
        {"wifi", "a Wi-Fi key: 24 printable characters without blanks or look-alikes, to type from a card",
         {{"length", "24"}, {"exclude-look-alikes", ""}}},
        {"shell-safe", "24 characters without a shell's metacharacters, for scripts and command lines",
         {{"length", "24"}, {"other-out", kShellMetacharacters}}},
        {"passphrase6", "a passphrase of 6 words", {{"passphrase", ""}, {"words", "6"}}},
        {"passphrase8", "a passphrase of 8 words, for a master password", {{"passphrase", ""}, {"words", "8"}}},
        {"recipe5", "5 Title-case words, each gap a digit or one of ! # %, for sites that want them",
         {{"passphrase", ""}, {"words", "5"}, {"separators", "0123456789!#%"}, {"case", "title"}}},
        {"spoken4", "a password to say and type from memory: four groups of syllables",
         {{"pronounceable", ""}, {"groups", "4"}}},
    };
    return profiles;
}

const BuiltInProfile* FindBuiltInProfile(std::string_view name) {
    const auto profiles = BuiltInProfiles();
    const auto it = std::find_if(profiles.begin(), profiles.end(), [&](const BuiltInProfile& p) { return name == p.name; });
    return it == profiles.end() ? nullptr : &*it;
}

}  // namespace morvane
