#pragma once
// The strength line under the window: how many bits the passwords that the
// current options would make carry, or in words why none can be made. Reads
// nothing but what it is given and changes nothing.
#include <string>

#include "engine/character_pool.h"
#include "options/generation_choice.h"
#include "options/option_verdicts.h"

namespace morvane {

enum class StrengthLevel { kNone, kPoor, kWeak, kGood, kExcellent };

struct StrengthLine {
    std::string text;
    StrengthLevel level = StrengthLevel::kNone;  // kNone: no password can be made
};

// Plain passwords: the entropy of the pool's characters times the lengths.
// Passphrases and passwords under the each-type rule: log2 of the exact
// number of different outputs at the shortest and the longest length.
StrengthLine DescribeStrength(const OptionValues& values, const PoolChoice& pool, bool variable_length,
                              const GenerationChoice& choice = {});

}  // namespace morvane
