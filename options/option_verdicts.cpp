#include "options/option_verdicts.h"

#include "engine/character_pool.h"
#include "options/number_text.h"
#include "platform/base/runtime_error.h"

namespace morvane {
namespace {

constexpr int kShortestBound = 3;   // a length must be greater than this
constexpr int kLongestBound = 129;  // ... and less than this
constexpr int kLowestCount = 0;     // a count must be greater than this
constexpr int32_t kHighestCount = 2147483647;

std::string LengthMessage(const char* which) {
    return "Enter a value greater than " + std::to_string(kShortestBound) + " but less than " +
           std::to_string(kLongestBound) + " for " + which;
}

}  // namespace

IncludeVerdict CheckInclude(bool letters, const GenerationSettings& settings) {
    if (letters) return settings.upper || settings.lower ? IncludeVerdict::kPasses : IncludeVerdict::kNoLetterCase;
    GenerationSettings without_letters = settings;  // the case boxes count only under Letters
    without_letters.upper = without_letters.lower = false;
    return ChoosesCharacters(without_letters) ? IncludeVerdict::kPasses : IncludeVerdict::kNothingChosen;
}

CheckFailure IncludeFailure(IncludeVerdict verdict) {
    if (verdict == IncludeVerdict::kNoLetterCase)
        return {"Enter type of letters to use.\r\nUppercase or Lowercase.",
                "INPUT ERROR: Choose Type."};
    return {"Enter at least one type of character to generate.",
            "INPUT ERROR: Insufficient characters."};
}

FieldVerdict CheckLength(const Text& text) {
    if (!IsNumericText(text)) return text.empty() ? FieldVerdict::kEmpty : FieldVerdict::kRefused;
    int length = 0;
    try {
        length = ToInt16(LeadingValue(text));
    } catch (const RuntimeError&) {
        return FieldVerdict::kOverflow;
    }
    return length > kShortestBound && length < kLongestBound ? FieldVerdict::kPasses : FieldVerdict::kRefused;
}

FieldVerdict CheckCount(const Text& text) {
    if (!IsNumericText(text)) return text.empty() ? FieldVerdict::kEmpty : FieldVerdict::kRefused;
    try {
        return ToInt32(LeadingValue(text)) > kLowestCount ? FieldVerdict::kPasses : FieldVerdict::kRefused;
    } catch (const RuntimeError&) {
        return FieldVerdict::kRefused;  // too large or too small for the count
    }
}

bool LengthsInOrder(const Text& min_text, const Text& max_text) {
    return LeadingValue(max_text) >= LeadingValue(min_text);
}

CheckFailure MinLengthFailure() {
    return {LengthMessage("Min Length"), "INPUT ERROR: Invalid Entry."};
}
CheckFailure MaxLengthFailure() {
    return {LengthMessage("Max Length"), "INPUT ERROR: Invalid Entry"};
}
CheckFailure OrderFailure() {
    return {"Min Length should be less than or equal to Max Length.",
            "INPUT ERROR: Invalid Entry."};
}
CheckFailure CountFailure() {
    return {"Enter a value less than " + std::to_string(kHighestCount) + " but greater than " +
                std::to_string(kLowestCount) + " for Number of Passwords",
            "INPUT ERROR: Invalid Entry"};
}

CheckFailure ExclusionFailure() {
    return {"Exclude string includes all characters to include.\r\nPlease change your exclude other string.",
            "INPUT ERROR: Exclude Other."};
}

CheckFailure PossibleCountFailure(int32_t possible) {
    return {"Maximum number of passwords possible is " + std::to_string(possible) +
                "\r\nPlease change your number of passwords.",
            "INPUT ERROR: Number of passwords."};
}

}  // namespace morvane
