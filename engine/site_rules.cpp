#include "engine/site_rules.h"

#include <idn2.h>

#include <algorithm>

#include "platform/base/text.h"

namespace morvane {
namespace {

// Just the JSON a table holds: objects, strings, true and false.
class TableReader {
public:
    TableReader(std::string_view json, TableProblem& problem) : json_(json), problem_(problem) {}

    std::optional<SiteTable> Read() {
        SiteTable table;
        if (!Expect('{')) return std::nullopt;
        if (Next() == '}') {
            ++at_;
            return End() ? std::optional(table) : std::nullopt;
        }
        while (true) {
            std::string domain;
            if (!String(domain) || !Expect(':')) return std::nullopt;
            SiteRule site;
            if (!Entry(site)) return std::nullopt;
            table[AsciiLower(domain)] = site;
            const Member after = AfterMember();
            if (after == Member::kBroken) return std::nullopt;
            if (after == Member::kLast) break;
        }
        return End() ? std::optional(table) : std::nullopt;
    }

private:
    // What follows a member of an object: another, its end, or neither.
    enum class Member { kMore, kLast, kBroken };
    Member AfterMember() {
        const char c = Next();
        if (c != ',' && c != '}') {
            Fail("',' or '}' expected");
            return Member::kBroken;
        }
        ++at_;
        return c == ',' ? Member::kMore : Member::kLast;
    }

    bool Fail(const std::string& message) { return FailAt(at_, message); }
    bool FailAt(size_t place, const std::string& message) {
        int line = 1, column = 1;
        for (size_t i = 0; i < place && i < json_.size(); ++i) {
            if (json_[i] == '\n') {
                ++line;
                column = 1;
            } else {
                ++column;
            }
        }
        problem_ = {line, column, message};
        return false;
    }
    char Next() {
        // JSON's blanks, whatever the locale.
        while (at_ < json_.size() && (json_[at_] == ' ' || json_[at_] == '\t' || json_[at_] == '\n' || json_[at_] == '\r'))
            ++at_;
        return at_ < json_.size() ? json_[at_] : '\0';
    }
    bool Expect(char c) {
        if (Next() != c) return Fail(std::string("'") + c + "' expected");
        ++at_;
        return true;
    }
    bool End() {
        if (Next() != '\0') return Fail("nothing may follow the table");
        return true;
    }
    bool String(std::string& out) {
        if (Next() != '"') return Fail("a string expected");
        for (++at_; at_ < json_.size(); ++at_) {
            const char c = json_[at_];
            if (c == '"') {
                ++at_;
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20) return Fail("a control character in a string");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (++at_ >= json_.size()) break;
            switch (json_[at_]) {
                case '"': out += '"'; break;
                case '\\': out += '\\'; break;
                case '/': out += '/'; break;
                case 't': out += '\t'; break;
                case 'n': out += '\n'; break;
                default: return Fail("an escape this table does not use");
            }
        }
        return Fail("a string without its closing '\"'");
    }
    bool Entry(SiteRule& site) {
        Next();
        const size_t entry_at = at_;
        if (!Expect('{')) return false;
        bool has_rule = false;
        if (Next() == '}') return FailAt(entry_at, "an entry without \"password-rules\"");
        while (true) {
            std::string key;
            const size_t key_at = (Next(), at_);
            if (!String(key) || !Expect(':')) return false;
            if (key == "password-rules") {
                if (!String(site.rule)) return false;
                has_rule = true;
            } else if (key == "exact-domain-match-only") {
                Next();
                if (json_.substr(at_, 4) == "true") site.exact_domain_only = true, at_ += 4;
                else if (json_.substr(at_, 5) == "false") site.exact_domain_only = false, at_ += 5;
                else return Fail("true or false expected");
            } else {
                return FailAt(key_at, "unknown key \"" + key + "\"");
            }
            const Member after = AfterMember();
            if (after == Member::kBroken) return false;
            if (after == Member::kLast) break;
        }
        if (!has_rule) return FailAt(entry_at, "an entry without \"password-rules\"");
        return true;
    }

    std::string_view json_;
    TableProblem& problem_;
    size_t at_ = 0;
};

}  // namespace

std::optional<SiteTable> ReadSiteTable(std::string_view json, TableProblem& problem) {
    return TableReader(json, problem).Read();
}

std::string HostOf(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (const size_t scheme = text.find("://"); scheme != std::string_view::npos) text.remove_prefix(scheme + 3);
    // The authority ends at the path, the query or the fragment; a user's
    // name within it ends at its last '@', and a port follows the last ':'.
    text = text.substr(0, text.find_first_of("/?#"));
    if (const size_t user = text.rfind('@'); user != std::string_view::npos) text.remove_prefix(user + 1);
    const size_t bracket = text.rfind(']'), port = text.rfind(':');  // a bracket ends an IPv6 address
    if (port != std::string_view::npos && (bracket == std::string_view::npos || port > bracket))
        text = text.substr(0, port);
    std::string host(text);
    while (!host.empty() && host.back() == '.') host.pop_back();
    // An internationalised name is looked up in its ASCII form (IDNA 2008),
    // so that a name that only looks like a known one never finds it.
    if (std::any_of(host.begin(), host.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
        char* ascii = nullptr;
        if (idn2_to_ascii_8z(host.c_str(), &ascii, IDN2_NONTRANSITIONAL | IDN2_NFC_INPUT) == IDN2_OK) host = ascii;
        idn2_free(ascii);
    }
    return AsciiLower(host);
}

bool IsAddressOrBareName(std::string_view host) {
    if (host.empty() || host.front() == '[') return true;
    if (host.find('.') == std::string_view::npos) return true;
    return std::all_of(host.begin(), host.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

std::optional<std::pair<std::string, SiteRule>> LookUpSite(std::string_view domain_or_url, const SiteTable& own,
                                                           const SiteTable& bundled) {
    const std::string host = HostOf(domain_or_url);
    if (IsAddressOrBareName(host)) return std::nullopt;
    // The host itself, then each domain above it: the longest key first.
    for (size_t at = 0; at != std::string::npos && at < host.size(); at = host.find('.', at) + 1) {
        const std::string key = host.substr(at);
        for (const SiteTable* table : {&own, &bundled}) {
            const auto found = table->find(key);
            if (found == table->end()) continue;
            if (found->second.exact_domain_only && at != 0) continue;
            return *found;
        }
        if (host.find('.', at) == std::string::npos) break;
    }
    return std::nullopt;
}

}  // namespace morvane
