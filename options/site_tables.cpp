#include "options/site_tables.h"

#include <set>

#include "engine/site_lists.h"
#include "platform/base/config_folder.h"
#include "platform/base/user_file.h"

namespace morvane {

std::string OwnSiteTablePath() { return ConfigFolder() + "/password-rules.json"; }

SiteTables LoadSiteTables(std::string& problem) {
    problem.clear();
    SiteTables tables;
    TableProblem where;
    const auto said = [&](const std::string& file) {
        problem = file + ":" + std::to_string(where.line) + ":" + std::to_string(where.column) + ": " + where.message;
    };
    if (auto bundled = ReadSiteTable(BundledSiteTableText(), where)) tables.bundled = std::move(*bundled);
    else said("the bundled sites' table");
    const std::string path = OwnSiteTablePath();
    const UserFile file = ReadUserFile(path, "a table of sites");
    if (file.outcome == UserFile::kMissing) return tables;
    if (file.outcome == UserFile::kRefused) {
        problem = path + " " + file.problem;
        return tables;
    }
    if (auto own = ReadSiteTable(file.text, where)) tables.own = std::move(*own);
    else said(path);
    return tables;
}

namespace {

bool HasClassLines(const std::string& rule) {
    return rule.find("allowed") != std::string::npos || rule.find("required") != std::string::npos;
}

}  // namespace

SiteFound FindSite(std::string_view domain_or_url, const SiteTables& tables) {
    SiteFound found;
    const std::string host = HostOf(domain_or_url);
    if (IsAddressOrBareName(host)) return found;
    const SiteLists& lists = BundledSiteLists();
    if (const std::string* page = FindByDomain(lists.change_pages, host)) found.change_page = *page;
    for (size_t at = 0; at < host.size(); at = host.find('.', at) + 1) {
        found.code_after_password = found.code_after_password || lists.code_after_password.count(host.substr(at));
        if (host.find('.', at) == std::string::npos) break;
    }
    // The site's own rule, then those of the sites whose account it uses:
    // a password must keep each.
    std::vector<std::pair<std::string, std::string>> rules;  // site, rule
    const auto take = [&](std::string_view domain) {
        const auto entry = LookUpSite(domain, tables.own, tables.bundled);
        if (!entry) return;
        for (const auto& [site, rule] : rules)
            if (rule == entry->second.rule) return;
        rules.emplace_back(entry->first, entry->second.rule);
    };
    take(host);
    const bool own_rule = !rules.empty();
    const std::vector<std::string>* partners = FindByDomain(lists.accounts, host);
    if (partners)
        for (const std::string& partner : *partners) take(partner);
    if (rules.empty()) return found;
    found.site = rules[0].first;
    found.rule = rules[0].second;
    if (rules.size() == 1) {
        if (own_rule) return found;
        found.note = host + " signs in with " + found.site + "'s account: " + found.site + "'s rule";
        return found;
    }
    std::string others;
    for (size_t i = 1; i < rules.size(); ++i) {
        // Limits of lengths and runs written one after the other keep the
        // stricter of each; the characters only where one rule names them.
        if (HasClassLines(found.rule) && HasClassLines(rules[i].second)) {
            found.refusal = host + " shares its account with " + rules[i].first + ", and their rules each name the "
                            "characters a password holds: type a rule that keeps both";
            return found;
        }
        found.rule += (found.rule.ends_with(";") ? " " : "; ") + rules[i].second;
        found.site += " and " + rules[i].first;
        others += (others.empty() ? "" : " and ") + rules[i].first;
    }
    found.note = host + " shares its account with " + others + ": a password keeps the rule of each";
    return found;
}

std::vector<std::string> KnownSites(const SiteTables& tables) {
    std::set<std::string> sites;
    for (const auto& [domain, rule] : tables.own) sites.insert(domain);
    for (const auto& [domain, rule] : tables.bundled) sites.insert(domain);
    return {sites.begin(), sites.end()};
}

}  // namespace morvane
