#pragma once
// Every option of morvane-cli, once: its names, what it takes, its help,
// how the shell completes it, whether a profile keeps it, what it stands
// against and how it sets what is made. The command line, the usage text,
// the completion script, the profiles file and the rules of which option
// gives way to which are all read from here.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

struct CliOptions;
struct GenerationSettings;

// What an option takes after it.
enum class Takes {
    kNothing,
    kNumber,         // a whole number within the entry's range
    kChoice,         // one of the entry's choices, in any letter case
    kText,
    kOptionalValue,  // nothing, or a value after "="
};

// The paragraphs of the usage text.
enum class OptionGroup { kMaking, kProvisioning, kSiteRules, kPassphrases, kPronounceable, kProfiles, kProgram };

// What the shell offers after the option.
enum class Completion { kNothing, kChoices, kFiles, kSites, kProfiles, kOwnProfiles, kHashMethods };

// How a profile keeps an option: not at all, as true, as a whole number or
// as a text.
enum class ProfileValue { kNotKept, kFlag, kNumber, kText };

// What an option is about, for which option gives way to which: a bit each.
enum OptionKind : unsigned {
    kKindOther = 0,
    kKindExactLength = 1u << 0,   // --length
    kKindLengthBound = 1u << 1,   // --min, --max
    kKindFixedLength = 1u << 2,   // --fixed
    kKindCharacters = 1u << 3,    // which characters a password holds
    kKindNarrowing = 1u << 4,     // what is let in or left out besides
    kKindPassphrase = 1u << 5,    // --passphrase
    kKindWordChoice = 1u << 6,    // how a passphrase is made
    kKindRule = 1u << 7,          // --rules, --site
    kKindFormat = 1u << 8,        // --format, --html
    kKindLineEnd = 1u << 9,       // --null, --crlf
    kKindBlank = 1u << 10,        // --spaces
    kKindSpoken = 1u << 11,       // --pronounceable
    kKindGroups = 1u << 12,       // how a pronounceable password is made
    kKindSeparator = 1u << 13,    // --separator, --separators
};
inline constexpr unsigned kKindLengths = kKindExactLength | kKindLengthBound | kKindFixedLength;
inline constexpr unsigned kKindPronounceable = kKindSpoken | kKindGroups;
inline constexpr unsigned kKindPassphrases = kKindPassphrase | kKindWordChoice;

// The value an option was given: its text, and for a number the number
// (read from the text, or kept as a number by a profile); for a choice, the
// index of the choice.
struct OptionValue {
    std::string text;
    std::optional<int64_t> number;
};

// What the options said, before the lengths are settled and the options
// are weighed against each other.
struct OptionsGiven {
    std::optional<int64_t> min, max, length;
    std::string format;              // the value of --format
    std::vector<std::string> names;  // each option given, by its long name, once
    // The profile an option was given by, beside its name.
    std::vector<std::pair<std::string, std::string>> by_profile;

    bool Has(std::string_view name) const;
    // The first given of those of these kinds, or none.
    std::string FirstOfKinds(unsigned kinds, std::string_view besides = {}) const;
    // The option as a message names it: "--length", or "--length (profile
    // strong)" when a profile gave it.
    std::string Named(std::string_view name) const;
};

// Two options that cannot stand together, and why: the entry's option
// against the first given of `kinds`.
struct OptionConflict {
    unsigned kinds = 0;
    const char* why = nullptr;
};

struct OptionEntry {
    char short_name;  // 0: long only
    const char* long_name;
    Takes takes;
    const char* value_name;  // in the usage text: "N", "TEXT"
    const char* help;        // lines after the first are indented under it
    OptionGroup group;
    ProfileValue kept = ProfileValue::kNotKept;
    unsigned kind = kKindOther;
    int64_t lowest = 0, highest = 0;  // a number's range
    std::vector<std::string> choices;  // a choice's, or what the shell offers
    Completion completion = Completion::kNothing;
    // The options it overrides when given later, besides itself.
    unsigned overrides = 0;
    // The options it cannot be given with.
    std::vector<OptionConflict> conflicts;
    // The option it applies only with (any of them), and how a refusal names
    // what it applies to.
    std::vector<const char*> needs;
    const char* applies_to = nullptr;
    // What it sets; returns what is wrong with the value.
    std::string (*set)(const OptionValue&, CliOptions&, OptionsGiven&) = nullptr;
    // What a profile keeps of the settings for it: its value ("" for a
    // flag), or none where the settings are the defaults or it does not
    // apply to what is made.
    std::optional<std::string> (*read)(const GenerationSettings&) = nullptr;
};

std::span<const OptionEntry> OptionCatalogue();
// Whether the option takes the next argument as its value.
inline bool TakesAValueAfterIt(const OptionEntry& entry) {
    return entry.takes != Takes::kNothing && entry.takes != Takes::kOptionalValue;
}
const OptionEntry* FindOption(std::string_view long_name);
const OptionEntry* FindShortOption(char short_name);
ProfileValue ProfileValueOf(std::string_view long_name);

// The refusal of a number out of its entry's range.
std::string RangeMessage(const OptionEntry& entry);
// Checks a value against what the entry takes, and reads its number or
// choice into it; returns what is wrong.
std::string ReadOptionValue(const OptionEntry& entry, OptionValue& value);

// ": did you mean --length?" for the one option nearest a mistyped name,
// within two edits; else nothing.
std::string NearestOption(std::string_view typed);

// --help, made from the catalogue.
std::string CliUsage();
// The bash completion script, made from the catalogue; `hash_methods` for
// --hash, which morvane-cli's hashing knows.
std::string BashCompletion(const std::vector<std::string>& hash_methods);

}  // namespace morvane
