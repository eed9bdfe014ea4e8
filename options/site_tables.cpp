#include "options/site_tables.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

#include "options/config_folder.h"

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
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        if (errno != ENOENT) problem = path + ": " + std::strerror(errno);
        return tables;
    }
    std::stringstream text;
    text << file.rdbuf();
    if (file.bad()) {
        problem = path + ": cannot be read";
        return tables;
    }
    if (auto own = ReadSiteTable(text.str(), where)) tables.own = std::move(*own);
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
