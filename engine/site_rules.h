#pragma once
// The table of sites and their password rules, in the JSON of the bundled
// one: {"domain": {"password-rules": "...", "exact-domain-match-only": true}},
// and looking a site up by a domain or a whole URL.
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

struct SiteRule {
    std::string rule;               // in the Password Rules language
    bool exact_domain_only = false;  // the key matches its domain alone, no subdomain
};

using SiteTable = std::map<std::string, SiteRule>;  // keys in lower case

struct TableProblem {
    int line = 0, column = 0;
    std::string message;
};

// Reads a table; a problem says where, with the line and column.
std::optional<SiteTable> ReadSiteTable(std::string_view json, TableProblem& problem);

// The host of a domain or a URL, in lower case and in its ASCII form:
// "https://me@www.Ubisoft.com:443/en-us/login?x=1" gives "www.ubisoft.com",
// "bücher.example" gives "xn--bcher-kva.example".
std::string HostOf(std::string_view domain_or_url);
// Whether a host is an IP address or a name without a dot, which no site is.
bool IsAddressOrBareName(std::string_view host);

// The entry for the host: a key matches its domain and every subdomain
// (unless exact only), and the longest key that matches wins. Entries of
// `own` stand before those of `bundled`.
std::optional<std::pair<std::string, SiteRule>> LookUpSite(std::string_view domain_or_url, const SiteTable& own,
                                                           const SiteTable& bundled);

// The table that comes with the program.
std::string_view BundledSiteTableText();

}  // namespace morvane
