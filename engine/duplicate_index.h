#pragma once
// The passwords of a run met so far, held as 8-byte keys in an open table.
// A password of up to 9 ASCII characters is its own key (7 bits a character
// under a marking bit), so short passwords are told apart exactly and a run
// can reach the exact number of different passwords. A longer one is keyed
// by a 64-bit hash: two different passwords could share a key, which only
// makes the second be drawn again, never lets a password repeat.
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/wiped_memory.h"

namespace morvane {

class DuplicateIndex {
public:
    using Key = uint64_t;  // 0 marks a free slot

    // Makes room for `count` passwords at once, so the table never grows
    // (and never stands twice in memory) during the run.
    void Reserve(size_t count);
    // Adds the password; false when it was already there.
    bool Insert(std::u32string_view password);
    bool InsertUtf8(std::string_view password);  // the same password as UTF-8
    // Readies the slot of a key about to be inserted.
    void Prefetch(Key key) const { __builtin_prefetch(slots_.data() + Home(key)); }
    bool Contains(std::u32string_view password) const;
    size_t size() const { return used_; }

    static Key KeyOf(std::u32string_view password);
    static Key KeyOfUtf8(std::string_view password);
    bool InsertKey(Key key);

private:
    size_t Home(Key key) const;  // where its search starts
    size_t Find(Key key) const;  // its slot, or the free slot where it would go
    void Resize(size_t slots);

    std::vector<Key, WipingAllocator<Key>> slots_;  // a short password is its own key
    size_t used_ = 0;
};

}  // namespace morvane
