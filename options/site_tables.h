#pragma once
// The tables of sites' password rules the program knows: the one it comes
// with and the user's own, which adds sites and stands before it.
#include <optional>
#include <string>
#include <vector>

#include "engine/site_rules.h"

namespace morvane {

struct SiteTables {
    SiteTable own, bundled;
};

// $XDG_CONFIG_HOME/morvane/password-rules.json, ~/.config when unset.
std::string OwnSiteTablePath();

// Both tables. A missing file of the user's is an empty table; one that
// cannot be read or is broken is refused as "FILE:LINE:COLUMN: what is wrong".
std::optional<SiteTables> LoadSiteTables(std::string& problem);

// Every site of both tables, sorted, once.
std::vector<std::string> KnownSites(const SiteTables& tables);

}  // namespace morvane
