#pragma once
// What else is known of sites besides their rules (from the same source):
// the page where a site's password is changed, the sites that want the
// one-time code typed after the password, and the sites that sign in with
// another's account.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

struct SiteLists {
    std::map<std::string, std::string> change_pages;       // domain: the address of its page
    std::set<std::string> code_after_password;              // domains
    std::map<std::string, std::vector<std::string>> accounts;  // domain: the others of its account
};

// The lists that come with the program, read once.
const SiteLists& BundledSiteLists();

// Reads each list's JSON; none, with `problem`, when it does not read.
std::optional<std::map<std::string, std::string>> ReadChangePages(std::string_view json, std::string& problem);
std::optional<std::set<std::string>> ReadDomainList(std::string_view json, std::string& problem);
std::optional<std::map<std::string, std::vector<std::string>>> ReadSharedAccounts(std::string_view json,
                                                                                  std::string& problem);

// The entry of a host in a list by domain: the host itself or the nearest
// domain above it.
template <class Value>
const Value* FindByDomain(const std::map<std::string, Value>& list, const std::string& host) {
    for (size_t at = 0; at < host.size(); at = host.find('.', at) + 1) {
        if (const auto found = list.find(host.substr(at)); found != list.end()) return &found->second;
        if (host.find('.', at) == std::string::npos) break;
    }
    return nullptr;
}

}  // namespace morvane
