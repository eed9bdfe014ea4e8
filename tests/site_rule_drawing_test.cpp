// Passwords by sites' rules as the generator makes them: every bundled rule
// drawn from and checked by a checker of the test's own, the draws even over
// every allowed password however they are made, the rule narrowed by the
// user's options, and the count a unique run reaches.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/generator.h"
#include "engine/rule_choice.h"
#include "engine/rule_count.h"
#include "engine/rule_sampler.h"
#include "engine/site_rules.h"
#include "tests/chi_square.h"

using namespace morvane;

namespace {

// A checker apart from the program's: the characters, the runs, and the
// required lines matched to positions by augmenting paths.
bool Keeps(const PasswordRule& rule, const std::string& password, int length) {
    if (static_cast<int>(password.size()) != length) return false;
    for (char c : password)
        if (!rule.allowed.test(static_cast<unsigned char>(c))) return false;
    const auto group = [](char c) {
        return c >= 'a' && c <= 'z' ? 1 : c >= 'A' && c <= 'Z' ? 2 : c >= '0' && c <= '9' ? 3 : 0;
    };
    int repeated = 1, stepped = 1, direction = 0;
    for (size_t i = 1; i < password.size(); ++i) {
        repeated = password[i] == password[i - 1] ? repeated + 1 : 1;
        const int step = password[i] - password[i - 1];
        const bool steps = (step == 1 || step == -1) && group(password[i]) && group(password[i]) == group(password[i - 1]);
        if (!steps) {
            stepped = 1, direction = 0;
        } else if (direction == step || stepped == 1) {
            ++stepped, direction = step;
        } else {
            stepped = 2, direction = step;
        }
        if (rule.max_repeating && repeated > rule.max_repeating) return false;
        if (rule.max_sequential && stepped > rule.max_sequential) return false;
    }
    std::vector<int> owner(password.size(), -1);  // the line each position serves
    const std::function<bool(size_t, std::vector<bool>&)> place = [&](size_t line, std::vector<bool>& seen) {
        for (size_t p = 0; p < password.size(); ++p) {
            if (seen[p] || !rule.required[line].test(static_cast<unsigned char>(password[p]))) continue;
            seen[p] = true;
            if (owner[p] < 0 || place(static_cast<size_t>(owner[p]), seen)) {
                owner[p] = static_cast<int>(line);
                return true;
            }
        }
        return false;
    };
    for (size_t line = 0; line < rule.required.size(); ++line) {
        std::vector<bool> seen(password.size(), false);
        if (!place(line, seen)) return false;
    }
    return true;
}

SiteTable Bundled() {
    TableProblem problem;
    auto table = ReadSiteTable(BundledSiteTableText(), problem);
    EXPECT_TRUE(table) << problem.line << ":" << problem.column << ": " << problem.message;
    return table ? *table : SiteTable{};
}

GenerationSettings RuleSettings(const std::string& rule) {
    GenerationSettings settings;
    settings.mode = GenerationMode::kSiteRules;
    settings.rules = rule;
    return settings;
}

PasswordRule Parsed(const std::string& text) { return std::get<PasswordRule>(ParsePasswordRule(text)); }

// Every password a sampler gives, counted over `per_password` times the
// number the rule allows, must keep it and come about equally often.
void ExpectEvenOverEveryPassword(const PasswordRule& rule, int length, RuleDrawing drawing) {
    const uint64_t valid = CountRulePasswordsByEnumeration(rule, length);
    ASSERT_GT(valid, 40u);
    ASSERT_EQ(CountRulePasswords(rule, length), BigCount(valid));
    RuleSampler sampler(rule, length, drawing);
    std::map<std::string, int> seen;
    constexpr int kPerPassword = 200;
    for (uint64_t i = 0; i < valid * kPerPassword; ++i) {
        const std::string password = sampler.Draw();
        ASSERT_TRUE(Keeps(rule, password, length)) << password;
        ++seen[password];
    }
    ASSERT_EQ(seen.size(), valid);
    double chi = 0;
    for (const auto& [password, n] : seen) chi += (n - kPerPassword) * (n - kPerPassword) / double(kPerPassword);
    const auto bounds = chi_square::FairBoundsFor(static_cast<double>(valid - 1));
    EXPECT_GT(chi, bounds.low);
    EXPECT_LT(chi, bounds.high);
}

}  // namespace

TEST(SiteRuleDrawing, EveryBundledRuleGivesPasswordsThatAnIndependentCheckerAccepts) {
    const SiteTable sites = Bundled();
    ASSERT_EQ(sites.size(), 434u);
    for (const auto& [site, entry] : sites) {
        Generator generator(RuleSettings(entry.rule));
        ASSERT_TRUE(generator.ready()) << site << ": " << generator.problem();
        const RuleChoice& choice = *generator.rule_choice();
        // The blank stays out unless let in.
        ASSERT_FALSE(choice.rule.allowed.test(' ')) << site;
        EXPECT_EQ(choice.min_length, std::clamp(kDefaultRuleLength, choice.range_low, choice.range_high)) << site;
        std::string out;
        size_t ends[8];
        ASSERT_EQ(generator.AppendLinesUtf8(out, 8, "\n", ends), 8) << site;
        size_t from = 0;
        for (size_t end : ends) {
            const std::string password = out.substr(from, end - from);
            EXPECT_TRUE(Keeps(choice.rule, password, choice.min_length)) << site << ": " << password;
            from = end + 1;
        }
    }
}

TEST(SiteRuleDrawing, DrawsAreEvenOverEveryPasswordHoweverTheyAreDrawn) {
    // Overlapping classes, a repeated line, a group with no line, runs limited.
    const PasswordRule overlapping = Parsed("allowed: [-abc01]; required: [ab0]; required: [01]");
    const PasswordRule twice = Parsed("allowed: [ab]; required: [0]; required: [01]; required: [01]; max-repeating: 2");
    const PasswordRule steps = Parsed("allowed: [abcd]; required: [a]; max-sequential: 2");
    const PasswordRule sparse = Parsed("allowed: [ab]; required: [a]; max-repeating: 1");
    for (RuleDrawing drawing : {RuleDrawing::kBest, RuleDrawing::kWholePasswords, RuleDrawing::kByPosition}) {
        SCOPED_TRACE(static_cast<int>(drawing));
        ExpectEvenOverEveryPassword(overlapping, 3, drawing);
        ExpectEvenOverEveryPassword(twice, 4, drawing);
        ExpectEvenOverEveryPassword(steps, 4, drawing);
    }
    // Fewer than 1 in 8 of the passwords of their characters keep these:
    // drawn by position, and still even.
    const PasswordRule few = Parsed("allowed: [abc]; required: [c]; max-repeating: 1");
    EXPECT_TRUE(RuleSampler(few, 7).DrawsByPosition());
    ExpectEvenOverEveryPassword(few, 7, RuleDrawing::kBest);
    EXPECT_TRUE(RuleSampler(sparse, 9).DrawsByPosition());
}

// Rules that few of the passwords their characters make keep, as an audit
// found them: each is counted and drawn from within the test's time limit,
// character by character where drawing again would take too long, and a
// rule too intricate to count is refused with the reason instead of taking
// minutes.
TEST(SiteRuleDrawing, RulesThatFewPasswordsKeepAreDrawnInBoundedTime) {
    const std::string ten_letters = "required: [a]; required: [b]; required: [c]; required: [d]; required: [e]; "
                                    "required: [f]; required: [g]; required: [h]; required: [i]; required: [j]";
    const struct {
        std::string rule;
        int length;
        bool by_position;
    } cases[] = {
        {"allowed: digit; max-consecutive: 1", 64, true},
        {"max-repeating: 1; allowed: [ab]", 40, true},
        {"max-repeating: 1; allowed: [ab]", 128, true},
        {"allowed: ascii-printable; " + ten_letters, 20, true},
        {"allowed: ascii-printable; " + ten_letters, 128, true},
        {"required: upper; required: lower; required: digit; required: special; required: [abc]; required: [XYZ]; "
         "max-consecutive: 2", 128, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rule + " at " + std::to_string(c.length));
        GenerationSettings settings = RuleSettings(c.rule);
        settings.length_given = true;
        settings.min_length = settings.max_length = c.length;
        Generator generator(settings);
        ASSERT_TRUE(generator.ready()) << generator.problem();
        const RuleChoice& choice = *generator.rule_choice();
        EXPECT_EQ(RuleSampler(choice.rule, c.length).DrawsByPosition(), c.by_position);
        std::string out;
        size_t ends[3];
        ASSERT_EQ(generator.AppendLinesUtf8(out, 3, "\n", ends), 3);
        for (size_t from = 0, i = 0; i < 3; from = ends[i++] + 1)
            EXPECT_TRUE(Keeps(choice.rule, out.substr(from, ends[i] - from), c.length)) << out;
    }
    EXPECT_EQ(std::get<std::string>(ChooseRule(RuleSettings(
                  "allowed: upper, lower; required: [abcdef]; required: [bcdefg]; required: [cdefgh]; "
                  "required: [defghi]; required: [efghij]; required: [fghijk]; required: [ghijkl]; "
                  "required: [hijklm]; required: [ijklmn]; required: [jklmno]; max-consecutive: 2"))),
              "the rule is too intricate to count: its 10 required lines with its limits on runs make more than "
              "131072 states (fewer or simpler required lines, or no max-consecutive, will do)");
}

// With a range of lengths, each length comes as often as its passwords do,
// so that every password of every length is equally likely.
TEST(SiteRuleDrawing, EachLengthOfARangeComesWithTheShareOfItsPasswords) {
    GenerationSettings settings = RuleSettings("allowed: [-ab]; required: [-]");
    settings.length_given = settings.variable_length = true;
    settings.min_length = 4;
    settings.max_length = 6;
    Generator generator(settings);
    ASSERT_TRUE(generator.ready()) << generator.problem();
    const double expected[] = {65, 211, 665};  // passwords of 4, 5 and 6 characters
    constexpr int kDraws = 94100;
    int seen[3] = {};
    std::string out;
    for (int done = 0; done < kDraws; done += Generator::kLinesAtOnce) {
        out.clear();
        size_t ends[Generator::kLinesAtOnce];
        ASSERT_EQ(generator.AppendLinesUtf8(out, Generator::kLinesAtOnce, "\n", ends), Generator::kLinesAtOnce);
        for (size_t from = 0, i = 0; i < Generator::kLinesAtOnce; from = ends[i++] + 1) ++seen[ends[i] - from - 4];
    }
    double chi = 0;
    for (int i = 0; i < 3; ++i) {
        const double e = expected[i] / 941 * (seen[0] + seen[1] + seen[2]);
        chi += (seen[i] - e) * (seen[i] - e) / e;
    }
    const auto bounds = chi_square::FairBoundsFor(2);
    EXPECT_LT(chi, bounds.high) << seen[0] << " " << seen[1] << " " << seen[2];
    EXPECT_EQ(generator.possible().capped, 941u);
}

TEST(SiteRuleDrawing, AWordOnACompositionsBoundaryIsDecidedByTheWordsAfterIt) {
    // Six digits in 16 of letters or digits: boundaries that are not exact.
    const PasswordRule rule = Parsed("allowed: upper, lower; required: digit; required: digit; required: digit");
    RuleSampler sampler(rule, 16);
    ASSERT_GT(sampler.compositions(), 2u);
    const auto words = [](uint64_t word) { return [word] { return word; }; };
    for (size_t c = 1; c < sampler.compositions(); ++c) {
        const uint64_t boundary = sampler.boundary(c);
        // Just above the word's value: the composition's own, at and above its start.
        EXPECT_EQ(sampler.PickComposition(boundary, words(~uint64_t{0})), c);
        // Exactly the word and nothing after it lies below the start, which
        // the first 64 bits round down.
        EXPECT_EQ(sampler.PickComposition(boundary, words(0)), c - 1);
        // Within the word's range: decided by the word alone.
        const uint64_t next = c + 1 < sampler.compositions() ? sampler.boundary(c + 1) : ~uint64_t{0};
        const auto none = [] {
            ADD_FAILURE() << "a further word was drawn";
            return uint64_t{0};
        };
        if (boundary + 1 < next) {
            EXPECT_EQ(sampler.PickComposition(boundary + 1, none), c);
        }
    }
}

TEST(SiteRuleDrawing, TheUsersOptionsNarrowTheRuleAndTheLengthKeepsWithinItsRange) {
    GenerationSettings settings = RuleSettings("minlength: 8; maxlength: 16; required: [-]; required: digit");
    auto chosen = ChooseRule(settings);
    ASSERT_TRUE(std::holds_alternative<RuleChoice>(chosen));
    EXPECT_EQ(std::get<RuleChoice>(chosen).min_length, 16);  // 20, brought into 8 to 16
    settings.look_alikes_out = true;
    chosen = ChooseRule(settings);
    const PasswordRule& narrowed = std::get<RuleChoice>(chosen).rule;
    for (char c : std::string("1Il0oOB8")) EXPECT_FALSE(narrowed.allowed.test(static_cast<unsigned char>(c))) << c;
    settings.other_out = true;
    settings.other_out_text = U"-";
    EXPECT_EQ(std::get<std::string>(ChooseRule(settings)),
              "\"required: [-]\" has no character left once the blank, the look-alikes and the Other out characters "
              "are taken out");
    settings.other_out = false;
    settings.length_given = true;
    settings.min_length = settings.max_length = 17;
    EXPECT_EQ(std::get<std::string>(ChooseRule(settings)), "length 17 lies outside the rule's range of 8 to 16");
    settings.min_length = 8;
    settings.variable_length = true;
    EXPECT_EQ(std::get<std::string>(ChooseRule(settings)), "lengths 8 to 17 lie outside the rule's range of 8 to 16");
    // A maximum beyond the program's longest is brought to it; a minimum beyond it is refused.
    EXPECT_EQ(std::get<RuleChoice>(ChooseRule(RuleSettings("maxlength: 225"))).range_high, kLongestLength);
    EXPECT_EQ(std::get<std::string>(ChooseRule(RuleSettings("minlength: 130"))),
              "minlength 130 is above the longest password, 128");
    EXPECT_EQ(RuleTextProblem(RuleSettings("allowed: [a]; max-consecutive: 1; minlength: 6")),
              "no password of 6 to 128 characters keeps the rule");
    EXPECT_EQ(RuleTextProblem(RuleSettings("minlength: 8; required: [a-z]")),
              "the rule at 27: '-' stands only first in a class: there are no ranges such as [a-z]");
    EXPECT_EQ(RuleTextProblem(RuleSettings("minlength: 8; required: lower")), "");
}

TEST(SiteRuleDrawing, AUniqueRunReachesExactlyTheRulesCount) {
    GenerationSettings settings = RuleSettings("allowed: [ab]; required: digit; required: digit; maxlength: 4");
    settings.unique = true;
    settings.count = 20400;
    Generator generator(settings);
    ASSERT_TRUE(generator.ready()) << generator.problem();
    EXPECT_EQ(generator.possible().capped, 20400u);
    std::set<std::string> made;
    std::string out;
    for (int done = 0; done < 20400;) {
        out.clear();
        const int kept = generator.AppendLinesUtf8(out, std::min(Generator::kLinesAtOnce, 20400 - done), "\n");
        ASSERT_NE(kept, Generator::kNoFurther);  // the last draws meet mostly passwords made before
        done += kept;
        for (size_t at = 0; at < out.size(); at += 5) made.insert(out.substr(at, 4));
    }
    EXPECT_EQ(made.size(), 20400u);
    settings.count = 20401;
    EXPECT_EQ(Generator(settings).refusal(), GeneratorRefusal::kTooFewPossible);
}
