#pragma once
// A site's rule as the user's own options narrow it: the blank left out
// unless let in, the look-alikes and the Other characters taken out, and the
// lengths chosen within the rule's range.
#include <string>
#include <variant>
#include <vector>

#include "engine/generation_settings.h"
#include "engine/password_rule.h"
#include "engine/rule_count.h"

namespace morvane {

// The rule of a site whose own is not known: the chosen kinds of
// characters (all printable ASCII by default) and the user's own, each kind
// required with `each_type`; passwords of it are kDefaultRuleLength long.
std::string DefaultSiteRule(const GenerationSettings& settings, bool each_type = false);

struct RuleChoice {
    PasswordRule rule;              // narrowed
    int min_length = 0, max_length = 0;  // to draw from, within the rule's range
    int range_low = 0, range_high = 0;   // the rule's range, within 4 to 128
    std::vector<BigCount> counts;        // the passwords of each length up to max_length
};

// The rule of the settings, narrowed, or in words why it gives no password:
// the rule cannot be read, a required line loses every character, a length
// lies outside the rule's range, or no password of those lengths keeps it.
std::variant<RuleChoice, std::string> ChooseRule(const GenerationSettings& settings);

// What is wrong with a rule as written, for the rule field: a refusal by the
// reader with its place, or a rule no password of its range can keep; empty
// when it is sound, and then `range`, when given, receives the range.
struct LengthRange {
    int low = 0, high = 0;
    std::vector<std::string> notes;  // what the reader left out of the rule as written
};
std::string RuleTextProblem(const GenerationSettings& settings, LengthRange* range = nullptr);

}  // namespace morvane
