#include "options/cli_options.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

namespace morvane {
namespace {

// The lengths from what was given: --length fixes both; --min or --max
// alone moves the other bound when it would cross it.
std::string SettleLengths(const OptionsGiven& given, GenerationSettings& settings) {
    settings.length_given = given.length || given.min || given.max;
    if (given.length) {
        if (given.min || given.max) return "--length cannot be given with --min or --max";
        settings.min_length = settings.max_length = static_cast<int>(*given.length);
        settings.variable_length = false;
        return {};
    }
    if (given.min) settings.min_length = static_cast<int>(*given.min);
    if (given.max) settings.max_length = static_cast<int>(*given.max);
    if (settings.min_length > settings.max_length) {
        if (given.min && given.max) return "--min must not be greater than --max";
        if (given.min) settings.max_length = settings.min_length;
        else settings.min_length = settings.max_length;
    }
    if (!settings.variable_length) settings.min_length = settings.max_length;
    return {};
}

// What the QR code, the hashes and a list of users ask of each other and
// of the output.
std::string OutputConflict(const OptionsGiven& given) {
    if (given.Has("for-users") && !given.Has("passwords-to"))
        return "--for-users needs --passwords-to FILE: the passwords would otherwise be lost";
    const std::string output = given.Has("format") && given.format != "text" ? "format" : given.Has("html") ? "html" : "";
    for (const char* kind : {"qr", "qr-wifi", "for-users"}) {
        if (!given.Has(kind)) continue;
        for (const char* other : {"copy", "count", "crlf", "null", "qr", "qr-wifi", "for-users", "hash"}) {
            if (other == std::string_view(kind) || !given.Has(other)) continue;
            if (std::string_view(kind).starts_with("qr") && std::string_view(other).starts_with("qr")) continue;
            // A profile's count gives way: one password is drawn.
            if (std::string_view(other) == "count" && given.Named(other) != "--count") continue;
            if (std::string_view(kind) == "for-users" && std::string_view(other) == "hash") continue;
            return "--" + std::string(kind) + " cannot be given with " + given.Named(other);
        }
        if (!output.empty()) return "--" + std::string(kind) + " cannot be given with " + given.Named(output);
    }
    if (given.Has("hash") && !output.empty() && given.format != "ndjson")
        return "--hash cannot be given with " + given.Named(output) + ": the hash goes in text or ndjson";
    if (given.Has("hash") && given.Has("copy")) return "--hash cannot be given with --copy: the copy is the password alone";
    return {};
}

// What each option given applies only with, or cannot stand with, as the
// catalogue says: the first met, named in one line.
std::string CatalogueConflict(const OptionsGiven& given) {
    for (const std::string& name : given.names) {
        const OptionEntry& entry = *FindOption(name);
        if (!entry.needs.empty() && std::none_of(entry.needs.begin(), entry.needs.end(),
                                                 [&](const char* needed) { return given.Has(needed); }))
            return given.Named(name) + " applies only to " + entry.applies_to + ": give it with --" + entry.needs.front();
    }
    for (const std::string& name : given.names)
        for (const OptionConflict& conflict : FindOption(name)->conflicts)
            if (std::string other = given.FirstOfKinds(conflict.kinds, name); !other.empty())
                return given.Named(name) + " cannot be given with " + given.Named(other) + ": " + conflict.why;
    return {};
}

// Options that make sense only with another, or not with it: the first
// pair met, named in one line.
std::string Conflict(const OptionsGiven& given, int64_t options_count) {
    if (std::string problem = CatalogueConflict(given); !problem.empty()) return problem;
    if (given.Has("copy") && given.Has("html")) return "--copy cannot be given with --html: the copy is plain text";
    if (given.Has("copy") && given.Has("format") && given.format != "text")
        return "--copy cannot be given with " + given.Named("format") + " " + given.format + ": the copy is plain text";
    if (std::string problem = OutputConflict(given); !problem.empty()) return problem;
    if (given.format == "json") {
        if (given.Has("null")) return "--null cannot be given with " + given.Named("format") + " json: a NUL is no part of JSON";
        if (given.Has("count") && options_count > kMostInJsonDocument)
            return "--format json holds at most " + std::to_string(kMostInJsonDocument) +
                   " passwords, one document read whole: give --format ndjson for more";
    }
    if (given.Has("html") && given.Has("format") && given.format != "html")
        return "--html cannot be given with " + given.Named("format") + " " + given.format +
               ": they name different formats";
    // What is done with profiles is done alone, and a profile keeps only
    // what is made: nothing of what is done with it but its format.
    for (const std::string& action : given.names) {
        if (action == "save-profile") {
            for (const std::string& other : given.names) {
                const OptionEntry& entry = *FindOption(other);
                if (entry.kept == ProfileValue::kNotKept && entry.kind != kKindFormat && entry.group != OptionGroup::kProgram &&
                    other != "profile" && other != action)
                    return "--save-profile cannot be given with --" + other + ": a profile keeps only what is made";
            }
        } else if (action == "delete-profile" || action == "list-profiles") {
            for (const std::string& other : given.names)
                if (other != action) return "--" + action + " cannot be given with " + given.Named(other) + ": it is done alone";
        } else {
            continue;
        }
        break;
    }
    return {};
}

// Whether an option given later overrides an earlier one from elsewhere (a
// profile, or the command line before it): the same option, or one it
// cannot stand with.
bool Overrides(const OptionEntry& later, const OptionEntry& earlier) {
    return &later == &earlier || (later.overrides & earlier.kind) != 0;
}

// One option as it was given: what it is, its value, and where it came
// from (0: the command line; else which profile, counting from 1).
struct GivenOption {
    const OptionEntry* entry;
    OptionValue value;
    int source;
    int line = 0;  // of the profiles file
};

// A profile's options, given from `source`; what is not an option a profile
// keeps is refused.
std::string TakeProfile(const ProfileOptions& profile, int source, std::vector<GivenOption>& all) {
    for (const ProfileOption& option : profile) {
        const OptionEntry* entry = FindOption(option.name);
        if (!entry || entry->kept == ProfileValue::kNotKept)
            return "\"" + option.name + "\" is not an option of a profile";
        all.push_back({entry, {option.value, option.number}, source, option.line});
    }
    return {};
}

// The options given, of the command line and profiles, read into `options`:
// each overridden one left out, the others applied in their order, and
// then weighed against each other.
std::string ApplyAll(std::vector<GivenOption>& all, const std::vector<std::string>& profiles, CliOptions& options,
                     int* line_of_problem = nullptr) {
    OptionsGiven given;
    for (size_t i = 0; i < all.size(); ++i) {
        GivenOption& option = all[i];
        const OptionEntry& entry = *option.entry;
        const bool overridden = std::any_of(all.begin() + static_cast<std::ptrdiff_t>(i) + 1, all.end(),
                                            [&](const GivenOption& later) {
                                                // A later profile stands whole in an earlier one's place.
                                                if (later.source > 0 && option.source > 0)
                                                    return later.source != option.source;
                                                return later.source != option.source && Overrides(*later.entry, entry);
                                            });
        if (overridden || entry.long_name == std::string_view("profile")) continue;
        if (option.source > 0)
            given.by_profile.emplace_back(entry.long_name, profiles[static_cast<size_t>(option.source - 1)]);
        if (!given.Has(entry.long_name)) given.names.emplace_back(entry.long_name);
        std::string error = ReadOptionValue(entry, option.value);
        if (error.empty()) error = entry.set(option.value, options, given);
        if (!error.empty()) {
            if (line_of_problem) *line_of_problem = option.line;
            if (option.source > 0) return "profile " + profiles[static_cast<size_t>(option.source - 1)] + ": " + error;
            return error;
        }
        // A profile keeps each option once, as it was last given.
        const bool html = entry.long_name == std::string_view("html");
        if (entry.kept != ProfileValue::kNotKept || html) {
            ProfileOption kept = html ? ProfileOption{"format", "html"} : ProfileOption{entry.long_name, option.value.text};
            if (entry.kept == ProfileValue::kNumber) kept.number = option.value.number;
            std::erase_if(options.kept, [&](const ProfileOption& k) { return k.name == kept.name; });
            options.kept.push_back(std::move(kept));
        }
    }
    if (std::string conflict = Conflict(given, options.settings.count); !conflict.empty()) return conflict;
    if (const PassphraseOptions& p = options.settings.passphrase;
        p.min_word_length > 0 && p.max_word_length > 0 && p.min_word_length > p.max_word_length)
        return given.Named("min-word-length") + " must not be greater than " + given.Named("max-word-length");
    if (given.Has("each-type")) options.settings.mode = GenerationMode::kEachType;
    if ((given.Has("copy") && !given.Has("count")) || given.Has("qr") || given.Has("qr-wifi"))
        options.settings.count = 1;
    if (given.Has("qr-wifi") && !given.Has("qr")) options.qr = CliOptions::QrDrawing::kOnTerminal;
    if (given.Has("for-users") && options.hash.empty()) options.hash = "yescrypt";
    // What a site's rule decides, and the first option that says otherwise.
    if (std::string decided = given.FirstOfKinds(kKindPassphrase | kKindSpoken | kKindCharacters); !decided.empty())
        options.decided_by_a_rule = given.Named(decided);
    for (const std::string& name : given.names)
        if (FindOption(name)->kind == kKindNarrowing)
            options.exclusions_given.push_back(given.Named(name));
    return SettleLengths(given, options.settings);
}

bool IsWholeNumber(std::string_view text) {
    if (text.starts_with('+')) text.remove_prefix(1);
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::string ParseCliOptions(const std::vector<std::string>& args, CliOptions& options, const ProfileFinder& profiles) {
    options = CliOptions{};
    // Strong without a word of the user's: as for a site whose rule is not known.
    options.settings.min_length = options.settings.max_length = kDefaultRuleLength;
    std::vector<GivenOption> all;
    const auto take = [&](const OptionEntry& o, std::string value) -> std::string {
        all.push_back({&o, {value, std::nullopt}, 0});
        if (o.long_name != std::string_view("profile")) return {};
        std::string problem;
        std::optional<ProfileOptions> found;
        if (profiles) found = profiles(value, problem);
        if (!found) return problem.empty() ? "no profile is named " + value : problem;
        options.profiles_used.push_back(value);
        const int source = static_cast<int>(options.profiles_used.size());
        if (std::string error = TakeProfile(*found, source, all); !error.empty()) return "profile " + value + ": " + error;
        return {};
    };
    int positional = 0;  // numbers given without an option
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string error;
        if (a.rfind("--", 0) == 0 && a.size() > 2) {
            const size_t equals = a.find('=');
            const std::string name = a.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
            const OptionEntry* o = FindOption(name);
            if (!o) return "unknown option --" + name + NearestOption(name);
            std::string value;
            if (equals != std::string::npos) {
                if (o->takes == Takes::kNothing) return "option --" + name + " takes no value";
                if (o->takes == Takes::kOptionalValue && a.size() == equals + 1)
                    return "option --" + name + "= needs its value after the =";
                value = a.substr(equals + 1);
            } else if (TakesAValueAfterIt(*o)) {
                if (i + 1 >= args.size()) return "option --" + name + " needs a value";
                value = args[++i];
            }
            error = take(*o, value);
        } else if (a.size() > 1 && a[0] == '-') {
            // Bundled short options; one that takes a value takes the rest
            // of the word, or else the next argument.
            for (size_t k = 1; k < a.size() && error.empty(); ++k) {
                const OptionEntry* o = FindShortOption(a[k]);
                if (!o) return std::string("unknown option -") + a[k];
                std::string value;
                if (TakesAValueAfterIt(*o)) {
                    if (k + 1 < a.size()) value = a.substr(k + 1);
                    else if (i + 1 < args.size()) value = args[++i];
                    else return std::string("option -") + a[k] + " needs a value";
                    k = a.size();
                }
                error = take(*o, value);
            }
        } else if (IsWholeNumber(a) && positional < 2) {
            // As pwgen reads it: a number alone is the length, a second the count.
            error = take(*FindOption(positional++ == 0 ? "length" : "count"), a);
        } else {
            return "unexpected argument '" + a + "'" +
                   (IsWholeNumber(a) ? ": the length and the count are given already" : "");
        }
        if (!error.empty()) return error;
    }
    return ApplyAll(all, options.profiles_used, options);
}

std::string ParseProfileOptions(const ProfileOptions& profile, CliOptions& options, int* line_of_problem) {
    options = CliOptions{};
    std::vector<GivenOption> all;
    if (std::string error = TakeProfile(profile, 0, all); !error.empty()) return error;
    return ApplyAll(all, {}, options, line_of_problem);
}

}  // namespace morvane
