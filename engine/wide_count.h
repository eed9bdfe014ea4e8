#pragma once
// A whole number of fixed width, wide enough for every count of passwords
// the program makes (95 characters, 128 long: below 2^842), added and
// subtracted in place without allocating, modulo 2^896, so that a sum whose
// terms run below zero on the way still ends exact.
#include <array>
#include <cstdint>

#include "engine/rand.h"
#include "engine/rule_count.h"

namespace morvane {

inline constexpr int kWideLimbs = 14;

struct WideCount {
    std::array<uint64_t, kWideLimbs> limbs{};

    static WideCount One() {
        WideCount one;
        one.limbs[0] = 1;
        return one;
    }
    bool IsZero() const {
        for (uint64_t limb : limbs)
            if (limb) return false;
        return true;
    }
    // Adds or takes away `other` modulo 2^(64 * width): counts known to stay
    // below that are kept in their first `width` limbs alone.
    void Add(const WideCount& other, int width = kWideLimbs) {
        bool carry = false;
        for (int i = 0; i < width; ++i) {
            unsigned long long sum;
            const bool first = __builtin_add_overflow(limbs[i], other.limbs[i], &sum);
            carry = first | __builtin_add_overflow(sum, static_cast<uint64_t>(carry), &sum);
            limbs[i] = sum;
        }
    }
    void Subtract(const WideCount& other, int width = kWideLimbs) {
        bool borrow = false;
        for (int i = 0; i < width; ++i) {
            unsigned long long difference;
            const bool first = __builtin_sub_overflow(limbs[i], other.limbs[i], &difference);
            borrow = first | __builtin_sub_overflow(difference, static_cast<uint64_t>(borrow), &difference);
            limbs[i] = difference;
        }
    }
    void MultiplyBy(uint64_t factor) {
        unsigned __int128 carry = 0;
        for (uint64_t& limb : limbs) {
            const unsigned __int128 product = static_cast<unsigned __int128>(limb) * factor + carry;
            limb = static_cast<uint64_t>(product);
            carry = product >> 64;
        }
    }
    bool operator<(const WideCount& other) const {
        for (int i = kWideLimbs; i-- > 0;)
            if (limbs[i] != other.limbs[i]) return limbs[i] < other.limbs[i];
        return false;
    }
    bool operator==(const WideCount& other) const = default;
    int BitLength() const {
        for (int i = kWideLimbs; i-- > 0;)
            if (limbs[i]) return 64 * i + 64 - __builtin_clzll(limbs[i]);
        return 0;
    }
    BigCount ToBig() const { return BigCount::FromWords(limbs.data(), limbs.size()); }
    static WideCount FromBig(const BigCount& value) {
        WideCount wide;
        value.ToWords(wide.limbs.data(), wide.limbs.size());
        return wide;
    }
};

// A whole number below `bound` (not zero), every one exactly as likely:
// random words below the next power of two, drawn again when at or above.
inline WideCount DrawWideBelow(const WideCount& bound) {
    const int bits = bound.BitLength();
    WideCount drawn;
    do {
        drawn = WideCount{};
        for (int i = 0; i * 64 < bits; ++i) drawn.limbs[static_cast<size_t>(i)] = DrawWord();
        if (bits % 64) drawn.limbs[static_cast<size_t>(bits / 64)] &= (uint64_t{1} << (bits % 64)) - 1;
    } while (!(drawn < bound));
    return drawn;
}

}  // namespace morvane
