#include "options/strength_line.h"

#include <charconv>

#include "engine/generator.h"
#include "engine/passphrase_maker.h"
#include "engine/word_list_file.h"
#include "engine/strength.h"

namespace morvane {
namespace {

// One decimal with a point, whatever the locale.
std::string OneDecimal(double value) {
    char buffer[32];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1);
    return error == std::errc() ? std::string(buffer, end) : "?";
}

StrengthLevel LevelOf(double bits) {
    std::string word = StrengthWord(bits);
    if (word == "Poor") return StrengthLevel::kPoor;
    if (word == "Weak") return StrengthLevel::kWeak;
    if (word == "Good") return StrengthLevel::kGood;
    return StrengthLevel::kExcellent;
}

bool GoodEnough(double bits) { return LevelOf(bits) >= StrengthLevel::kGood; }

// The fewest groups that make pronounceable passwords Good.
std::string GroupsAdvice(GenerationSettings more) {
    for (++more.groups; more.groups <= kMostGroups; ++more.groups)
        if (GoodEnough(Generator(more).BitsOf(0))) return std::to_string(more.groups) + " groups make it Good";
    return {};
}

// The fewest words that make passphrases Good, weighed on the list read
// once.
std::string PassphraseAdvice(const GenerationSettings& settings) {
    std::string problem;
    const auto list = LoadPassphraseWords(settings, problem);
    if (!list) return {};
    PassphraseOptions more = settings.passphrase;
    for (more.words = settings.passphrase.words + 1; more.words <= kMostPassphraseWords; ++more.words)
        if (GoodEnough(PassphraseBits(*list, more))) return std::to_string(more.words) + " words make it Good";
    return {};
}

// The shortest length that makes passwords of the pool Good.
std::string LengthAdvice(const GenerationSettings& settings, const Generator& generator, int shortest) {
    for (int length = shortest + 1; length <= kLongestLength; ++length) {
        if (!GoodEnough(generator.BitsOf(static_cast<size_t>(length)))) continue;
        const std::string n = std::to_string(length);
        return settings.variable_length ? "a Min Length of " + n + " makes it Good" : n + " characters make it Good";
    }
    return "Profiles > strong makes it Good";
}

}  // namespace

StrengthLine NoPasswordLine(const std::string& why) {
    return {"Strength: no password can be made: " + why, StrengthLevel::kNone};
}

StrengthLine DescribeStrength(const GenerationSettings& settings) {
    GenerationSettings one = settings;
    one.unique = false;  // the strength of one output does not hang on the count
    const Generator generator(one);
    switch (generator.refusal()) {
        case GeneratorRefusal::kNone: break;
        case GeneratorRefusal::kWordListRefused:
        case GeneratorRefusal::kRuleRefused:
        case GeneratorRefusal::kEachTypeImpossible:
        case GeneratorRefusal::kNothingToSay: return NoPasswordLine(generator.problem());
        case GeneratorRefusal::kEmptiedByExclusion: return NoPasswordLine("the exclusions leave no character.");
        case GeneratorRefusal::kPoolTooLarge: return NoPasswordLine("more than 32767 characters to draw from.");
        case GeneratorRefusal::kNothingToDrawFrom: return NoPasswordLine("there is no character to draw from.");
        case GeneratorRefusal::kTooFewPossible: break;  // the count is not weighed here
    }
    if (settings.passphrases()) {
        const double bits = generator.BitsOf(0);
        std::string text = "Strength: " + OneDecimal(bits) + " bits per passphrase (" +
                           std::to_string(generator.word_count()) + " words, " +
                           std::to_string(settings.passphrase.words) + " drawn";
        if (const int digits = settings.passphrase.digits; digits > 0)
            text += ", " + std::to_string(digits) + (digits == 1 ? " digit" : " digits");
        if (const size_t separators = DistinctSeparators(settings.passphrase.separators).size(); separators > 0)
            text += ", " + std::to_string(separators) + (separators == 1 ? " separator" : " separators");
        const StrengthLevel level = LevelOf(bits);
        return {text + "): " + StrengthWord(bits), level, level < StrengthLevel::kGood ? PassphraseAdvice(settings) : ""};
    }
    if (settings.pronounceable()) {
        const double bits = generator.BitsOf(0);
        const StrengthLevel level = LevelOf(bits);
        return {"Strength: " + OneDecimal(bits) + " bits per password (pronounceable, " + std::to_string(settings.groups) +
                    (settings.groups == 1 ? " group" : " groups") + " of 6 letters): " + StrengthWord(bits),
                level, level < StrengthLevel::kGood ? GroupsAdvice(one) : ""};
    }
    const auto& rule = generator.rule_choice();
    const int min_length = rule ? rule->min_length : settings.shortest();
    const int max_length = rule ? rule->max_length : settings.max_length;
    const double least = generator.BitsOf(static_cast<size_t>(min_length));
    const double most = generator.BitsOf(static_cast<size_t>(max_length));
    std::string distinct = std::to_string(rule ? rule->rule.allowed.count() : CountDistinct(generator.pool())) +
                           " characters, ";
    if (rule) distinct = (settings.site.empty() ? "the rule, " : settings.site + "'s rule, ") + distinct;
    std::string text = "Strength: ";
    if (min_length == max_length) {
        text += OneDecimal(least) + " bits per password (" + distinct + std::to_string(min_length) + " long)";
    } else {
        text += OneDecimal(least) + " to " + OneDecimal(most) + " bits per password (" + distinct +
                std::to_string(min_length) + " to " + std::to_string(max_length) + " long)";
    }
    const StrengthLevel level = LevelOf(least);
    std::string advice;
    // Under the each-type rule and a site's rule the counts go only as far
    // as the lengths chosen.
    if (level < StrengthLevel::kGood && settings.mode == GenerationMode::kCharacters)
        advice = LengthAdvice(settings, generator, min_length);
    return {text + ": " + StrengthWord(least), level, advice};
}

}  // namespace morvane
