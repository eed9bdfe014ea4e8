#pragma once
// Profiles as settings: what a profile makes, with its site's rule looked
// up; in words for a list; and what a profile keeps of the settings.
#include <string>

#include "engine/generation_settings.h"
#include "options/cli_options.h"
#include "options/site_tables.h"

namespace morvane {

// Puts the rule of options.site in the settings when a table knows the
// site. Returns what refuses the options, or nothing; `note` says when no
// rule is known, and the other options stand.
std::string TakeSiteRule(CliOptions& options, const SiteTables& tables, std::string& note);

// The settings of a profile, or what is wrong with it.
std::string SettingsOfProfile(const ProfileOptions& profile, const SiteTables& tables, GenerationSettings& settings);

// What the settings make, in a few words: "passwords of 20 characters:
// upper, lower, digits, special; one of each type; no look-alikes".
std::string DescribeMaking(const GenerationSettings& settings);

// The options, as morvane-cli names them, that give these settings: those
// that differ from the defaults and apply to what is made.
ProfileOptions KeptOptionsOf(const GenerationSettings& settings);

}  // namespace morvane
