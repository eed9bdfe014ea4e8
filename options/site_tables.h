#pragma once
// The tables of sites' password rules the program knows: the one it comes
// with and the user's own, which adds sites and stands before it.
#include <string>
#include <string_view>
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

// A site as the tables know it: the rule it is to keep (its own, and that
// of every site it shares its account with), the page where its password is
// changed, and whether it wants the one-time code typed after the password.
struct SiteFound {
    std::string site;         // whose rule it is, for the user's eyes; empty when none is known
    std::string rule;
    std::string note;         // whose account and rule, where they are another site's
    std::string refusal;      // rules of one account that cannot be kept together
    std::string change_page;  // an address, or empty
    bool code_after_password = false;
};
SiteFound FindSite(std::string_view domain_or_url, const SiteTables& tables);

// Every site of both tables, sorted, once.
std::vector<std::string> KnownSites(const SiteTables& tables);

}  // namespace morvane
