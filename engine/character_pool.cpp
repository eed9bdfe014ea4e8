#include "engine/character_pool.h"

#include <unordered_set>

#include "platform/base/runtime_error.h"

namespace morvane {
namespace {

void AppendRange(Pool& pool, char32_t first, char32_t last) {
    if (pool.size() + (last - first) + 1 > static_cast<size_t>(kMaxPoolEntries)) throw OverflowError();
    for (char32_t c = first; c <= last; ++c) pool.push_back(c);
}

}  // namespace

std::span<const CharacterClassEntry> CharacterClasses() {
    using Range = std::pair<char32_t, char32_t>;
    static constexpr Range kSpace[] = {{U' ', U' '}};
    static constexpr Range kSpecial[] = {{33, 47}, {58, 64}, {91, 96}, {123, 126}};
    static constexpr Range kNumbers[] = {{U'0', U'9'}};
    static constexpr Range kUpper[] = {{U'A', U'Z'}};
    static constexpr Range kLower[] = {{U'a', U'z'}};
    static constexpr CharacterClassEntry kClasses[] = {
        {&GenerationSettings::spaces, false, kSpace},
        {&GenerationSettings::special, true, kSpecial},
        {&GenerationSettings::numbers, true, kNumbers},
        {&GenerationSettings::upper, true, kUpper},
        {&GenerationSettings::lower, true, kLower},
    };
    return kClasses;
}

bool ChoosesCharacters(const GenerationSettings& settings) {
    for (const CharacterClassEntry& entry : CharacterClasses())
        if (entry.is_type && settings.*entry.chosen) return true;
    return settings.other_in && !settings.other_in_text.empty();
}

void AppendClass(Pool& pool, const CharacterClassEntry& entry) {
    for (auto [first, last] : entry.ranges) AppendRange(pool, first, last);
}

bool InClass(char32_t c, const CharacterClassEntry& entry) {
    for (auto [first, last] : entry.ranges)
        if (c >= first && c <= last) return true;
    return false;
}

void AppendOther(Pool& pool, const Text& other) {
    for (char32_t code : GetOther(other)) AppendRange(pool, code, code);
}

bool RemoveUnwanted(Pool& pool, const Text& unwanted) {
    Pool codes = GetOther(unwanted);
    std::unordered_set<char32_t> excluded(codes.begin(), codes.end());
    size_t i = 0;
    while (i < pool.size()) {
        if (!excluded.count(pool[i])) {
            ++i;
            continue;
        }
        // The last entry fills the hole and is tested in its turn.
        pool[i] = pool.back();
        pool.pop_back();
        if (pool.empty()) return false;
    }
    pool.shrink_to_fit();
    return true;
}

PoolOutcome BuildPool(const GenerationSettings& settings, Pool& pool) {
    pool.clear();
    try {
        for (const CharacterClassEntry& entry : CharacterClasses())
            if (settings.*entry.chosen) AppendClass(pool, entry);
        if (settings.other_in) AppendOther(pool, settings.other_in_text);
    } catch (const RuntimeError&) {
        pool.clear();
        return PoolOutcome::kTooLarge;
    }
    if (pool.empty()) return PoolOutcome::kNothingToDrawFrom;
    if (settings.look_alikes_out && !RemoveUnwanted(pool, kLookAlikes)) return PoolOutcome::kEmptiedByExclusion;
    // An empty exclude field excludes nothing.
    if (settings.other_out && !settings.other_out_text.empty() && !RemoveUnwanted(pool, settings.other_out_text))
        return PoolOutcome::kEmptiedByExclusion;
    return PoolOutcome::kBuilt;
}

}  // namespace morvane
