#pragma once
// The passwords of a run met so far, held as 8-byte keys in an open table.
// A password of up to 9 ASCII characters is its own key (7 bits a character
// under a marking bit), so short passwords are told apart exactly and a run
// can reach the exact number of different passwords. A longer one is keyed
// by a 64-bit hash: two different passwords could share a key, which only
// makes the second be drawn again, never lets a password repeat.
#include <cstdint>
#include <string_view>

#include "platform/base/zeroed_pages.h"

namespace morvane {

// Draws in a row that may meet only passwords already made before a run of
// different ones gives up: the count of what can be made was too high.
inline constexpr long long kMostRedrawsForANewPassword = 10'000'000;

class DuplicateIndex {
public:
    using Key = uint64_t;  // 0 marks a free slot

    // Makes room for `count` passwords at once, so that a short run's table
    // need not grow; for at most kMostReserved, beyond which it grows with
    // the passwords put in, so that a run asked for more than it makes (cut
    // short by `head`, say) takes the memory of what it made and no more.
    static constexpr size_t kMostReserved = size_t{1} << 16;
    void Reserve(size_t count);
    // Adds the password; false when it was already there.
    bool Insert(std::u32string_view password);
    bool InsertUtf8(std::string_view password);  // the same password as UTF-8
    // Readies the slot of a key about to be inserted.
    void Prefetch(Key key) const { __builtin_prefetch(slots_.data() + Home(key), 1); }
    bool Contains(std::u32string_view password) const;
    size_t size() const { return used_; }

    static Key KeyOf(std::u32string_view password);
    static Key KeyOfUtf8(std::string_view password);
    bool InsertKey(Key key) {
        if (slots_.empty() || (used_ + 1) * 4 > slots_.size() * 3) Grow();
        const size_t i = Find(key);
        if (slots_[i] == key) return false;
        slots_[i] = key;
        ++used_;
        return true;
    }

private:
    static uint64_t Mix(uint64_t x) {  // splitmix64's finaliser
        x ^= x >> 30;
        x *= 0xBF58476D1CE4E5B9ull;
        x ^= x >> 27;
        x *= 0x94D049BB133111EBull;
        return x ^ (x >> 31);
    }
    // Where its search starts.
    size_t Home(Key key) const { return Mix(key) & (slots_.size() - 1); }
    // Its slot, or the free slot where it would go.
    size_t Find(Key key) const {
        const size_t mask = slots_.size() - 1;
        size_t i = Home(key);
        while (slots_[i] != 0 && slots_[i] != key) i = (i + 1) & mask;
        return i;
    }
    void Grow();
    void Resize(size_t slots);

    ZeroedPages<Key> slots_;  // a short password is its own key
    size_t used_ = 0;
};

}  // namespace morvane
