#pragma once
// The strength line under the window: how many bits the passwords that the
// current options would make carry, or in words why none can be made. Reads
// nothing but what it is given and changes nothing.
#include <string>

#include "engine/generation_settings.h"

namespace morvane {

enum class StrengthLevel { kNone, kPoor, kWeak, kGood, kExcellent };

struct StrengthLine {
    std::string text;
    StrengthLevel level = StrengthLevel::kNone;  // kNone: no password can be made
    // For Poor and Weak: the least change of the options that makes the
    // outputs Good, in words ("12 characters make it Good"); else empty.
    std::string advice;
    // The line as the window and morvane-cli --show-strength show it.
    std::string Shown() const { return advice.empty() ? text : text + "; " + advice; }
};

// Plain passwords: the entropy of the pool's characters times the lengths.
// Passphrases and passwords under the each-type rule: log2 of the exact
// number of different outputs at the shortest and the longest length.
StrengthLine DescribeStrength(const GenerationSettings& settings);
// The line for entries that give no settings: why no password can be made.
StrengthLine NoPasswordLine(const std::string& why);

}  // namespace morvane
