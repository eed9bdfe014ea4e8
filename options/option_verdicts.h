#pragma once
// The checks made before a run, as plain functions: each says whether the
// entries pass and, if not, which field to correct with which message. The
// window shows what they return; the command line prints it.
#include <cstdint>
#include <optional>
#include <string>

#include "engine/generation_settings.h"
#include "platform/base/text.h"

namespace morvane {

struct CheckFailure {
    std::string message;
    std::string title;
};

// The include boxes: letters need a case; something must be chosen.
enum class IncludeVerdict { kPasses, kNoLetterCase, kNothingChosen };
// `letters`: the Letters box, under which the case boxes count.
IncludeVerdict CheckInclude(bool letters, const GenerationSettings& settings);
CheckFailure IncludeFailure(IncludeVerdict verdict);

// One number field. kOverflow: a length beyond 16 bits, which is a run-time
// error rather than a refusal.
enum class FieldVerdict { kPasses, kEmpty, kRefused, kOverflow };
FieldVerdict CheckLength(const Text& text);  // greater than 3, less than 129
FieldVerdict CheckCount(const Text& text);   // 1 to 2147483647; an overflow is refused
// The minimum's value is not above the maximum's.
bool LengthsInOrder(const Text& min_text, const Text& max_text);

CheckFailure MinLengthFailure();
CheckFailure MaxLengthFailure();
CheckFailure OrderFailure();
CheckFailure CountFailure();

// The pool emptied by an exclusion, and too few distinct passwords for a run
// without duplicates.
CheckFailure ExclusionFailure();
CheckFailure PossibleCountFailure(int32_t possible);

}  // namespace morvane
