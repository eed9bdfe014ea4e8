#pragma once
// The pool of candidate characters: the selected classes in their fixed
// order, the user's own characters, and the exclusions that narrow it.
#include <span>
#include <utility>

#include "engine/character_codes.h"
#include "engine/generation_settings.h"

namespace morvane {

// Indexes into the pool are 16-bit, so it holds at most this many entries.
constexpr int kMaxPoolEntries = 32767;

// A class of characters: the settings' field that chooses it, whether the
// each-type rule asks for one of it, and its characters as ranges.
struct CharacterClassEntry {
    bool GenerationSettings::*chosen;
    bool is_type;  // the blank is let in, not asked for
    std::span<const std::pair<char32_t, char32_t>> ranges;
};

// Every class, in the pool's fixed order. A new class is one entry here and
// its field in the settings.
std::span<const CharacterClassEntry> CharacterClasses();
// Whether the settings choose any class or characters of their own.
bool ChoosesCharacters(const GenerationSettings& settings);

// Appends the class's characters, ascending. More than kMaxPoolEntries
// entries is an overflow.
void AppendClass(Pool& pool, const CharacterClassEntry& entry);
bool InClass(char32_t c, const CharacterClassEntry& entry);
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
