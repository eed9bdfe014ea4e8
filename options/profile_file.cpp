#include "options/profile_file.h"

#include <algorithm>
#include <array>

#define TOML_EXCEPTIONS 0
#include <toml++/toml.h>

namespace morvane {
namespace {

enum class Value { kFlag, kNumber, kText };

struct ProfileKey {
    const char* name;
    Value value;
};

// morvane-cli's options that a profile may hold.
constexpr std::array<ProfileKey, 24> kKeys = {{
    {"count", Value::kNumber},      {"length", Value::kNumber},  {"min", Value::kNumber},
    {"max", Value::kNumber},        {"fixed", Value::kFlag},     {"no-upper", Value::kFlag},
    {"no-lower", Value::kFlag},     {"no-numbers", Value::kFlag}, {"no-special", Value::kFlag},
    {"other-in", Value::kText},     {"other-out", Value::kText}, {"spaces", Value::kFlag},
    {"exclude-look-alikes", Value::kFlag}, {"unique", Value::kFlag}, {"each-type", Value::kFlag},
    {"passphrase", Value::kFlag},   {"words", Value::kNumber},   {"wordlist", Value::kText},
    {"separator", Value::kText},    {"case", Value::kText},      {"digits", Value::kNumber},
    {"rules", Value::kText},        {"site", Value::kText},      {"format", Value::kText},
}};

int LineOf(const toml::node& node) { return static_cast<int>(node.source().begin.line); }

}  // namespace

std::string ProfileProblem::Text() const {
    return line > 0 ? file + ":" + std::to_string(line) + ": " + message : file + ": " + message;
}

const Profile* ProfileFile::Find(std::string_view name) const {
    for (const Profile& p : profiles)
        if (p.name == name) return &p;
    return nullptr;
}

bool IsProfileName(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
    });
}

std::optional<ProfileFile> ReadProfiles(std::string_view text, const std::string& file, ProfileProblem& problem) {
    problem = {file, 0, {}};
    const auto fail = [&](int line, std::string message) -> std::optional<ProfileFile> {
        problem.line = line;
        problem.message = std::move(message);
        return std::nullopt;
    };
    toml::parse_result parsed = toml::parse(text, file);
    if (!parsed) return fail(static_cast<int>(parsed.error().source().begin.line),
                             std::string(parsed.error().description()));
    const toml::table& root = parsed.table();
    ProfileFile read;
    // Tables in the order they stand in the file.
    std::vector<std::pair<int, std::string>> order;
    for (const auto& [key, node] : root) {
        const std::string name(key.str());
        if (name == "window-start") {
            const auto* start = node.as_string();
            if (!start) return fail(LineOf(node), "window-start must be a profile's name in quotes");
            read.window_start = start->get();
            continue;
        }
        const toml::table* table = node.as_table();
        if (!table) return fail(LineOf(node), "\"" + name + "\" is neither window-start nor a profile's table");
        if (!IsProfileName(name))
            return fail(LineOf(node), "\"" + name + "\" is not a profile's name: letters, digits, - and _ only");
        order.emplace_back(LineOf(node), name);
    }
    std::sort(order.begin(), order.end());
    for (const auto& [line, name] : order) {
        Profile profile{name, {}};
        std::vector<std::pair<int, std::vector<std::string>>> options;
        for (const auto& [key, node] : *root[name].as_table()) {
            const std::string option(key.str());
            const auto known = std::find_if(kKeys.begin(), kKeys.end(), [&](const ProfileKey& k) { return option == k.name; });
            if (known == kKeys.end()) return fail(LineOf(node), "\"" + option + "\" is not an option of a profile");
            std::vector<std::string> arguments;
            switch (known->value) {
                case Value::kFlag:
                    if (!node.is_boolean()) return fail(LineOf(node), option + " must be true or false");
                    if (node.as_boolean()->get()) arguments.push_back("--" + option);
                    break;
                case Value::kNumber:
                    if (!node.is_integer()) return fail(LineOf(node), option + " must be a whole number");
                    arguments = {"--" + option, std::to_string(node.as_integer()->get())};
                    break;
                case Value::kText:
                    if (!node.is_string()) return fail(LineOf(node), option + " must be a text in quotes");
                    arguments = {"--" + option, node.as_string()->get()};
                    break;
            }
            options.emplace_back(LineOf(node), std::move(arguments));
        }
        std::stable_sort(options.begin(), options.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto& [at, arguments] : options)
            profile.arguments.insert(profile.arguments.end(), arguments.begin(), arguments.end());
        read.profiles.push_back(std::move(profile));
    }
    if (!read.window_start.empty() && !read.Find(read.window_start))
        return fail(LineOf(*root.get("window-start")), "window-start names no profile of the file: " + read.window_start);
    return read;
}

}  // namespace morvane
