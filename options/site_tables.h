#pragma once
// The tables of sites' password rules the program knows: the one it comes
// with and the user's own, which adds sites and stands before it.
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
// cannot be read or is broken leaves its table empty and says why in
// `problem`, as "FILE:LINE:COLUMN: what is wrong".
SiteTables LoadSiteTables(std::string& problem);

// Every site of both tables, sorted, once.
std::vector<std::string> KnownSites(const SiteTables& tables);

}  // namespace morvane
