#pragma once
// The pool of candidate characters: the selected classes in their fixed
// order, the user's own characters, and the exclusions that narrow it.
#include "engine/character_codes.h"
#include "engine/generation_settings.h"

namespace morvane {

// Indexes into the pool are 16-bit, so it holds at most this many entries.
constexpr int kMaxPoolEntries = 32767;

enum class CharacterClass { kSpace, kSpecial, kNumbers, kUpper, kLower };

// Appends the class's characters, ascending. More than kMaxPoolEntries
// entries is an overflow.
void AppendClass(Pool& pool, CharacterClass which);
// Appends the characters of a separated Other text, repeats kept.
void AppendOther(Pool& pool, const Text& other);

// Removes every entry whose code is among the characters of `unwanted`; the
// last entry fills each hole. Returns false, with the pool empty, when no
// entry is left.
bool RemoveUnwanted(Pool& pool, const Text& unwanted);

enum class PoolOutcome { kBuilt, kNothingToDrawFrom, kTooLarge, kEmptiedByExclusion };

// The pool exactly as a run builds it: classes, Other characters, then the
// look-alikes and the excluded Other characters taken out.
PoolOutcome BuildPool(const GenerationSettings& settings, Pool& pool);

}  // namespace morvane
