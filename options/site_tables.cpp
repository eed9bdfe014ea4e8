#include "options/site_tables.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

namespace morvane {

std::string OwnSiteTablePath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string folder;
    if (config && *config == '/') {
        folder = config;
    } else {
        const char* home = std::getenv("HOME");
        folder = std::string(home ? home : "") + "/.config";
    }
    return folder + "/morvane/password-rules.json";
}

std::optional<SiteTables> LoadSiteTables(std::string& problem) {
    SiteTables tables;
    TableProblem where;
    auto bundled = ReadSiteTable(BundledSiteTableText(), where);
    if (!bundled) {
        problem = "the bundled sites' table:" + std::to_string(where.line) + ":" + std::to_string(where.column) +
                  ": " + where.message;
        return std::nullopt;
    }
    tables.bundled = std::move(*bundled);
    const std::string path = OwnSiteTablePath();
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        if (errno == ENOENT) return tables;
        problem = path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    std::stringstream text;
    text << file.rdbuf();
    if (file.bad()) {
        problem = path + ": cannot be read";
        return std::nullopt;
    }
    auto own = ReadSiteTable(text.str(), where);
    if (!own) {
        problem = path + ":" + std::to_string(where.line) + ":" + std::to_string(where.column) + ": " + where.message;
        return std::nullopt;
    }
    tables.own = std::move(*own);
    return tables;
}

std::vector<std::string> KnownSites(const SiteTables& tables) {
    std::set<std::string> sites;
    for (const auto& [domain, rule] : tables.own) sites.insert(domain);
    for (const auto& [domain, rule] : tables.bundled) sites.insert(domain);
    return {sites.begin(), sites.end()};
}

}  // namespace morvane
