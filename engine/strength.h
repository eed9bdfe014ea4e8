#pragma once
// How strong the passwords of a pool are: the entropy of one character,
// each distinct character weighted by its number of entries.
#include <string>

#include "engine/character_codes.h"

namespace morvane {

// -sum p log2 p over the distinct characters, p = entries / pool size.
double BitsPerCharacter(const Pool& pool);

// The word for a password of `bits`: Poor below 40, Weak below 75, Good
// below 100, Excellent from 100.
std::string StrengthWord(double bits);

}  // namespace morvane
