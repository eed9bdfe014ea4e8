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

void AppendClass(Pool& pool, CharacterClass which) {
    switch (which) {
        case CharacterClass::kSpace: AppendRange(pool, U' ', U' '); break;
        case CharacterClass::kSpecial:
            AppendRange(pool, 33, 47);
            AppendRange(pool, 58, 64);
            AppendRange(pool, 91, 96);
            AppendRange(pool, 123, 126);
            break;
        case CharacterClass::kNumbers: AppendRange(pool, U'0', U'9'); break;
        case CharacterClass::kUpper: AppendRange(pool, U'A', U'Z'); break;
        case CharacterClass::kLower: AppendRange(pool, U'a', U'z'); break;
    }
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
        if (settings.spaces) AppendClass(pool, CharacterClass::kSpace);
        if (settings.special) AppendClass(pool, CharacterClass::kSpecial);
        if (settings.numbers) AppendClass(pool, CharacterClass::kNumbers);
        if (settings.upper) AppendClass(pool, CharacterClass::kUpper);
        if (settings.lower) AppendClass(pool, CharacterClass::kLower);
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
