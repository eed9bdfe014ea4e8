#include "engine/rule_choice.h"

#include <algorithm>
#include <vector>

#include "engine/character_codes.h"
#include "engine/rule_count.h"
#include "engine/rule_sampler.h"
#include "engine/rule_states.h"

namespace morvane {
namespace {

void TakeOut(PasswordRule& rule, char32_t code) {
    if (code >= 128) return;
    rule.allowed.reset(code);
    for (RuleCharacters& line : rule.required) line.reset(code);
}

void TakeOut(PasswordRule& rule, const Text& unwanted) {
    for (char32_t code : GetOther(unwanted)) TakeOut(rule, code);
}

std::string Range(int low, int high) { return std::to_string(low) + " to " + std::to_string(high); }

// Whether any password of the lengths keeps the rule. A required line needs
// one position more at most, so beyond that many lengths past the first an
// empty count stays empty.
bool AnyPassword(const PasswordRule& rule, int low, int high) {
    const int last = std::min(high, low + kMostRequiredLines);
    const std::vector<BigCount> counts = CountRulePasswordsUpTo(rule, last);
    return std::any_of(counts.begin() + low, counts.end(), [](const BigCount& n) { return !n.IsZero(); });
}

std::variant<RuleChoice, std::string> ReadAndNarrow(const GenerationSettings& settings) {
    auto read = ParsePasswordRule(settings.rules.empty() ? DefaultSiteRule(settings) : settings.rules);
    if (auto* problem = std::get_if<RuleProblem>(&read))
        return "the rule at " + std::to_string(problem->position) + ": " + problem->message;
    RuleChoice choice;
    choice.rule = std::get<PasswordRule>(std::move(read));
    PasswordRule& rule = choice.rule;
    if (rule.required.size() > static_cast<size_t>(kMostRequiredLines))
        return "the rule has more than " + std::to_string(kMostRequiredLines) + " required lines";
    // What the rule itself leaves empty, before the user's options narrow it.
    for (size_t line = 0; line < rule.required.size(); ++line)
        if (rule.required[line].none())
            return "\"required: " + rule.required_texts[line] + "\" holds no printable ASCII character";
    if (rule.allowed.none()) return "the rule allows no printable ASCII character";
    if (!settings.spaces) TakeOut(rule, U' ');
    if (settings.look_alikes_out) TakeOut(rule, kLookAlikes);
    if (settings.other_out) TakeOut(rule, settings.other_out_text);
    std::vector<std::string> taken;
    if (!settings.spaces) taken.emplace_back("the blank");
    if (settings.look_alikes_out) taken.emplace_back("the look-alikes");
    if (settings.other_out) taken.emplace_back("the Other out characters");
    std::string taken_out;
    for (size_t i = 0; i < taken.size(); ++i)
        taken_out += (i == 0 ? "" : i + 1 == taken.size() ? " and " : ", ") + taken[i];
    for (size_t line = 0; line < rule.required.size(); ++line)
        if (rule.required[line].none())
            return "\"required: " + rule.required_texts[line] + "\" has no character left once " + taken_out +
                   (taken.size() == 1 ? " is" : " are") + " taken out";
    if (rule.allowed.none()) return "the rule has no character left once the exclusions are taken out";
    if (std::string why = TooIntricateToCount(rule); !why.empty()) return why;
    if (rule.min_length > kLongestLength)
        return "minlength " + std::to_string(rule.min_length) + " is above the longest password, " +
               std::to_string(kLongestLength);
    if (rule.max_length && rule.max_length < kShortestLength)
        return "maxlength " + std::to_string(rule.max_length) + " is below the shortest password, " +
               std::to_string(kShortestLength);
    choice.range_low = std::max(rule.min_length, kShortestLength);
    choice.range_high = rule.max_length ? std::min(rule.max_length, kLongestLength) : kLongestLength;
    return choice;
}

}  // namespace

std::string DefaultSiteRule(const GenerationSettings& s, bool each_type) {
    std::vector<std::string> kinds;
    if (s.upper) kinds.emplace_back("upper");
    if (s.lower) kinds.emplace_back("lower");
    if (s.numbers) kinds.emplace_back("digit");
    if (s.special) kinds.emplace_back("special");
    if (s.other_in) {
        // The user's own characters as a class: '-' first, ']' written twice.
        std::string own;
        bool dash = false;
        for (char32_t c : GetOther(s.other_in_text)) {
            if (c == U'-') dash = true;
            else if (c > U' ' && c < 0x7F && own.find(static_cast<char>(c)) == std::string::npos)
                own += c == U']' ? std::string("]]") : std::string(1, static_cast<char>(c));
        }
        if (dash || !own.empty()) kinds.push_back("[" + std::string(dash ? "-" : "") + own + "]");
    }
    if (kinds.empty()) return "allowed: ascii-printable";
    std::string rule = "allowed: ";
    for (size_t i = 0; i < kinds.size(); ++i) rule += (i ? ", " : "") + kinds[i];
    if (each_type)
        for (const std::string& kind : kinds) rule += "; required: " + kind;
    return rule;
}

std::variant<RuleChoice, std::string> ChooseRule(const GenerationSettings& settings) {
    auto narrowed = ReadAndNarrow(settings);
    if (auto* problem = std::get_if<std::string>(&narrowed)) return *problem;
    RuleChoice choice = std::get<RuleChoice>(std::move(narrowed));
    const int low = choice.range_low, high = choice.range_high;
    if (!settings.length_given) {
        choice.min_length = choice.max_length = std::clamp(kDefaultRuleLength, low, high);
    } else {
        choice.min_length = settings.shortest();
        choice.max_length = settings.max_length;
        const bool fixed = choice.min_length == choice.max_length;
        if (choice.min_length < low || choice.max_length > high)
            return (fixed ? "length " + std::to_string(choice.max_length) + " lies"
                          : "lengths " + Range(choice.min_length, choice.max_length) + " lie") +
                   " outside the rule's range of " + Range(low, high);
    }
    choice.counts = CountRulePasswordsUpTo(choice.rule, choice.max_length);
    if (std::all_of(choice.counts.begin() + choice.min_length, choice.counts.end(),
                    [](const BigCount& n) { return n.IsZero(); }))
        return "no password of " +
               (choice.min_length == choice.max_length ? "length " + std::to_string(choice.min_length)
                                                        : "lengths " + Range(choice.min_length, choice.max_length)) +
               " keeps the rule";
    if (HasRunLimits(choice.rule)) {  // counted once for every length the plans below look at
        PasswordRule without_runs = choice.rule;
        without_runs.max_repeating = without_runs.max_sequential = 0;
        CountRulePasswordsUpTo(without_runs, choice.max_length);
    }
    for (int length = choice.min_length; length <= choice.max_length; ++length) {
        const BigCount& count = choice.counts[static_cast<size_t>(length)];
        if (count.IsZero()) continue;
        if (std::string why = RuleDrawingProblem(choice.rule, length, count); !why.empty()) return why;
    }
    return choice;
}

std::string RuleTextProblem(const GenerationSettings& settings, LengthRange* range) {
    auto narrowed = ReadAndNarrow(settings);
    if (auto* problem = std::get_if<std::string>(&narrowed)) return *problem;
    const RuleChoice& choice = std::get<RuleChoice>(narrowed);
    if (!AnyPassword(choice.rule, choice.range_low, choice.range_high))
        return "no password of " + Range(choice.range_low, choice.range_high) + " characters keeps the rule";
    if (range) *range = {choice.range_low, choice.range_high, choice.rule.notes};
    return {};
}

}  // namespace morvane
