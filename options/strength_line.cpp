#include "options/strength_line.h"

#include <charconv>

#include "engine/each_type_rule.h"
#include "engine/strength.h"
#include "options/number_text.h"

namespace morvane {
namespace {

// One decimal with a point, whatever the locale.
std::string OneDecimal(double value) {
    char buffer[32];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1);
    return error == std::errc() ? std::string(buffer, end) : "?";
}

StrengthLine None(const std::string& why) { return {"Strength: no password can be made: " + why, StrengthLevel::kNone}; }

StrengthLevel LevelOf(double bits) {
    std::string word = StrengthWord(bits);
    if (word == "Poor") return StrengthLevel::kPoor;
    if (word == "Weak") return StrengthLevel::kWeak;
    if (word == "Good") return StrengthLevel::kGood;
    return StrengthLevel::kExcellent;
}

}  // namespace

namespace {

StrengthLine DescribePassphrases(const GenerationChoice& choice) {
    std::string problem;
    const auto words = LoadPassphraseWords(choice, problem);
    if (!words) return None(problem);
    const double bits = PassphraseBits(*words, choice.passphrase);
    std::string text = "Strength: " + OneDecimal(bits) + " bits per passphrase (" + std::to_string(words->size()) +
                       " words, " + std::to_string(choice.passphrase.words) + " drawn";
    if (const int digits = choice.passphrase.digits; digits > 0)
        text += ", " + std::to_string(digits) + (digits == 1 ? " digit" : " digits");
    return {text + "): " + StrengthWord(bits), LevelOf(bits)};
}

}  // namespace

StrengthLine DescribeStrength(const OptionValues& v, const PoolChoice& choice, bool variable_length,
                              const GenerationChoice& generation) {
    if (generation.passphrases) return DescribePassphrases(generation);
    switch (CheckInclude(v.letters, v.upper, v.lower, v.numbers, v.special, v.other_in, v.other_in_text)) {
        case IncludeVerdict::kPasses: break;
        case IncludeVerdict::kNoLetterCase: return None("choose upper-case or lower-case letters.");
        case IncludeVerdict::kNothingChosen: return None("choose at least one type of character.");
    }
    if (CheckLength(v.min_length) != FieldVerdict::kPasses)
        return None("Min Length is not a whole number from 4 to 128.");
    if (CheckLength(v.max_length) != FieldVerdict::kPasses)
        return None("Max Length is not a whole number from 4 to 128.");
    if (!LengthsInOrder(v.min_length, v.max_length)) return None("Min Length is greater than Max Length.");
    if (CheckCount(v.count) != FieldVerdict::kPasses)
        return None("Number of Passwords is not a whole number from 1 to 2147483647.");

    Pool pool;
    switch (BuildPool(choice, pool)) {
        case PoolOutcome::kBuilt: break;
        case PoolOutcome::kEmptiedByExclusion: return None("the exclusions leave no character.");
        case PoolOutcome::kTooLarge: return None("more than 32767 characters to draw from.");
        case PoolOutcome::kNothingToDrawFrom: return None("there is no character to draw from.");
    }
    const int max_length = ToInt16(LeadingValue(v.max_length));
    const int min_length = variable_length ? ToInt16(LeadingValue(v.min_length)) : max_length;
    const double per_character = BitsPerCharacter(pool);
    double least = per_character * min_length, most = per_character * max_length;
    if (generation.each_type) {
        const EachTypeRule rule(choice, pool);
        if (std::string problem = rule.Problem(min_length, max_length, variable_length); !problem.empty())
            return None(problem);
        least = rule.Bits(min_length);
        most = rule.Bits(max_length);
    }
    const std::string distinct = std::to_string(CountDistinct(pool)) + " characters, ";
    std::string text = "Strength: ";
    if (min_length == max_length) {
        text += OneDecimal(least) + " bits per password (" + distinct + std::to_string(min_length) + " long)";
    } else {
        text += OneDecimal(least) + " to " + OneDecimal(most) + " bits per password (" + distinct +
                std::to_string(min_length) + " to " + std::to_string(max_length) + " long)";
    }
    return {text + ": " + StrengthWord(least), LevelOf(least)};
}

}  // namespace morvane
