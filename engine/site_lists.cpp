#include "engine/site_lists.h"

#include <algorithm>
#include <variant>

#include "platform/base/text.h"

namespace morvane {

std::string_view BundledChangePagesText();
std::string_view BundledCodeAfterPasswordText();
std::string_view BundledSharedAccountsText();

namespace {

// The JSON these lists hold: objects, arrays, strings and true or false.
struct Json {
    std::variant<std::string, bool, std::vector<Json>, std::vector<std::pair<std::string, Json>>> value;
    const std::string* Text() const { return std::get_if<std::string>(&value); }
    const std::vector<Json>* Array() const { return std::get_if<std::vector<Json>>(&value); }
    const std::vector<std::pair<std::string, Json>>* Object() const {
        return std::get_if<std::vector<std::pair<std::string, Json>>>(&value);
    }
};

class JsonReader {
public:
    explicit JsonReader(std::string_view text) : text_(text) {}

    std::optional<Json> ReadAll(std::string& problem) {
        std::optional<Json> read = Value();
        if (read && Next() != '\0') read = Fail("nothing may follow the list");
        if (!read) problem = "at " + std::to_string(failed_at_ + 1) + ": " + failure_;
        return read;
    }

private:
    std::nullopt_t Fail(std::string why) {
        if (failure_.empty()) failure_ = std::move(why), failed_at_ = at_;
        return std::nullopt;
    }
    char Next() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r'))
            ++at_;
        return at_ < text_.size() ? text_[at_] : '\0';
    }
    std::optional<std::string> String() {
        if (Next() != '"') return Fail("a string expected");
        std::string out;
        for (++at_; at_ < text_.size(); ++at_) {
            const char c = text_[at_];
            if (c == '"') return ++at_, out;
            if (c == '\\') {
                if (++at_ >= text_.size()) break;
                const char escaped = text_[at_];
                if (escaped != '"' && escaped != '\\' && escaped != '/') return Fail("an escape these lists do not use");
                out += escaped;
            } else {
                out += c;
            }
        }
        return Fail("a string without its closing '\"'");
    }
    std::optional<Json> Value() {
        const char c = Next();
        if (c == '"') {
            auto text = String();
            if (!text) return std::nullopt;
            return Json{std::move(*text)};
        }
        if (text_.substr(at_, 4) == "true") return at_ += 4, Json{true};
        if (text_.substr(at_, 5) == "false") return at_ += 5, Json{false};
        if (c != '[' && c != '{') return Fail("a value expected");
        ++at_;
        const char close = c == '[' ? ']' : '}';
        std::vector<Json> items;
        std::vector<std::pair<std::string, Json>> members;
        if (Next() == close) {
            ++at_;
        } else {
            while (true) {
                std::string key;
                if (close == '}') {
                    auto name = String();
                    if (!name) return std::nullopt;
                    key = std::move(*name);
                    if (Next() != ':') return Fail("':' expected");
                    ++at_;
                }
                auto item = Value();
                if (!item) return std::nullopt;
                if (close == '}') members.emplace_back(std::move(key), std::move(*item));
                else items.push_back(std::move(*item));
                const char after = Next();
                ++at_;
                if (after == close) break;
                if (after != ',') return --at_, Fail(std::string("',' or '") + close + "' expected");
            }
        }
        if (close == ']') return Json{std::move(items)};
        return Json{std::move(members)};
    }

    std::string_view text_;
    size_t at_ = 0;
    std::string failure_;
    size_t failed_at_ = 0;
};

// The domains of an array of strings, in lower case.
std::optional<std::vector<std::string>> Domains(const Json* array) {
    if (!array || !array->Array()) return std::nullopt;
    std::vector<std::string> domains;
    for (const Json& item : *array->Array()) {
        if (!item.Text()) return std::nullopt;
        domains.push_back(AsciiLower(*item.Text()));
    }
    return domains;
}

const Json* Member(const Json& object, std::string_view name) {
    for (const auto& [key, value] : *object.Object())
        if (key == name) return &value;
    return nullptr;
}

}  // namespace

std::optional<std::map<std::string, std::string>> ReadChangePages(std::string_view json, std::string& problem) {
    const std::optional<Json> read = JsonReader(json).ReadAll(problem);
    if (!read) return std::nullopt;
    if (!read->Object()) return problem = "an object of addresses expected", std::nullopt;
    std::map<std::string, std::string> pages;
    for (const auto& [domain, address] : *read->Object()) {
        if (!address.Text()) return problem = "the entry of " + domain + " is not an address", std::nullopt;
        pages[AsciiLower(domain)] = *address.Text();
    }
    return pages;
}

std::optional<std::set<std::string>> ReadDomainList(std::string_view json, std::string& problem) {
    const std::optional<Json> read = JsonReader(json).ReadAll(problem);
    if (!read) return std::nullopt;
    const auto domains = Domains(&*read);
    if (!domains) return problem = "an array of domains expected", std::nullopt;
    return std::set<std::string>(domains->begin(), domains->end());
}

std::optional<std::map<std::string, std::vector<std::string>>> ReadSharedAccounts(std::string_view json,
                                                                                  std::string& problem) {
    const std::optional<Json> read = JsonReader(json).ReadAll(problem);
    if (!read) return std::nullopt;
    if (!read->Array()) return problem = "an array of groups expected", std::nullopt;
    std::map<std::string, std::vector<std::string>> accounts;
    const auto add = [&](const std::string& domain, const std::vector<std::string>& others) {
        std::vector<std::string>& uses = accounts[domain];
        for (const std::string& other : others)
            if (other != domain && std::find(uses.begin(), uses.end(), other) == uses.end()) uses.push_back(other);
    };
    for (const Json& group : *read->Array()) {
        if (!group.Object()) return problem = "a group is not an object", std::nullopt;
        if (const Json* shared = Member(group, "shared")) {
            const auto domains = Domains(shared);
            if (!domains) return problem = "\"shared\" is not an array of domains", std::nullopt;
            for (const std::string& domain : *domains) add(domain, *domains);
        } else {
            // The old domains and the new are one account, whichever has the rule.
            auto from = Domains(Member(group, "from"));
            const auto to = Domains(Member(group, "to"));
            if (!from || !to) return problem = "a group has neither \"shared\" nor \"from\" and \"to\"", std::nullopt;
            from->insert(from->end(), to->begin(), to->end());
            for (const std::string& domain : *from) add(domain, *from);
        }
    }
    return accounts;
}

const SiteLists& BundledSiteLists() {
    static const SiteLists lists = [] {
        SiteLists read;
        std::string problem;  // the bundled lists are checked by the tests
        read.change_pages = ReadChangePages(BundledChangePagesText(), problem).value_or(decltype(read.change_pages){});
        read.code_after_password =
            ReadDomainList(BundledCodeAfterPasswordText(), problem).value_or(std::set<std::string>{});
        read.accounts = ReadSharedAccounts(BundledSharedAccountsText(), problem).value_or(decltype(read.accounts){});
        return read;
    }();
    return lists;
}

}  // namespace morvane
