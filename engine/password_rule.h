#pragma once
// The Password Rules language that web sites give their password fields
// (minlength, maxlength, required, allowed, max-consecutive, max-repeating,
// max-sequential), read strictly: what cannot be read is refused with a
// message that says what and where, never replaced by a default.
#include <bitset>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace morvane {

// A set of printable ASCII characters, the blank (32) to ~ (126).
using RuleCharacters = std::bitset<128>;

struct PasswordRule {
    int min_length = 0;   // 0: none given
    int max_length = 0;   // 0: none given
    // Each required line needs a position of its own holding one of its
    // characters; a line is the union of its classes.
    std::vector<RuleCharacters> required;
    std::vector<std::string> required_texts;  // each line's classes as written, to name it
    // Every character a password may hold: the allowed lines and the
    // required ones, or all of printable ASCII when neither is given.
    RuleCharacters allowed;
    int max_repeating = 0;   // 0: no limit; else no run of one character longer
    int max_sequential = 0;  // 0: no limit; else no run longer of +1 or -1 steps in a-z, A-Z or 0-9
    // What was read but left out, for a rule the user typed: characters
    // beyond printable ASCII in a custom class.
    std::vector<std::string> notes;
};

struct RuleProblem {
    size_t position = 0;  // in the text, counted from 1
    std::string message;
};

// Reads a rule as a site or the user writes it.
std::variant<PasswordRule, RuleProblem> ParsePasswordRule(std::string_view text);

// The characters of a class name (upper, lower, digit, special,
// ascii-printable, unicode), case-insensitive; none for another name.
std::optional<RuleCharacters> NamedRuleClass(std::string_view name);

}  // namespace morvane
