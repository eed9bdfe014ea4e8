#pragma once
// The user's profiles file on disk, and the profiles it and the program
// hold together. A file that cannot be read is never written: a change is
// made to the file as it stands when it is made, and written whole to a
// new file beside it that then takes its place, readable by the user only.
#include <functional>
#include <optional>
#include <string>

#include "options/profile_file.h"

namespace morvane {

// $XDG_CONFIG_HOME/morvane/profiles.toml, ~/.config when unset.
std::string ProfilesPath();

// The user's profiles; a missing file holds none. None when the file
// cannot be read or does not read well, with `problem` saying why.
std::optional<ProfileFile> LoadProfiles(ProfileProblem& problem);

// A profile's options by its name, the built-in ones first.
ProfileFinder FindProfileIn(const ProfileFile& own);

// Changes the file: `change` gives the new text from the text and what it
// holds, or none with `refusal` saying why it is not changed. Returns what
// went wrong, or nothing.
using ProfilesChange =
    std::function<std::optional<std::string>(const std::string& text, const ProfileFile& file, std::string& refusal)>;
// `changed` names the profile the change is for (kWindowStartChange for
// window-start): every other must read the same after it.
inline constexpr const char* kWindowStartChange = "window-start";
std::string ChangeProfiles(const std::string& changed, const ProfilesChange& change);

// The changes the program makes, each refused with a reason: saving under
// a name that is not a profile's or a built-in's, deleting a profile that
// is not the user's, starting with a profile that does not exist.
std::string SaveProfile(const std::string& name, const ProfileOptions& options);
std::string DeleteProfile(const std::string& name);
std::string SetWindowStart(const std::string& name);  // empty: the defaults

}  // namespace morvane
