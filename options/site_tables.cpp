#include "options/site_tables.h"

#include <set>

#include "options/config_folder.h"
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

std::vector<std::string> KnownSites(const SiteTables& tables) {
    std::set<std::string> sites;
    for (const auto& [domain, rule] : tables.own) sites.insert(domain);
    for (const auto& [domain, rule] : tables.bundled) sites.insert(domain);
    return {sites.begin(), sites.end()};
}

}  // namespace morvane
