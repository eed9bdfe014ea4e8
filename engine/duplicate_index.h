#pragma once
// The passwords of a run met so far, held as compact 16-byte keys in an open
// table. A password of up to 15 ASCII characters is its own key; a longer
// one is keyed by a 128-bit hash, whose false match is out of reach.
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/wiped_memory.h"

namespace morvane {

class DuplicateIndex {
public:
    // Adds the password; false when it was already there.
    bool Insert(std::u32string_view password);
    bool Contains(std::u32string_view password) const;
    size_t size() const { return used_; }

    struct Key {
        uint64_t low = 0, high = 0;  // all zero marks a free slot
        bool operator==(const Key&) const = default;
    };
    static Key KeyOf(std::u32string_view password);

private:
    size_t Find(const Key& key) const;  // its slot, or the free slot where it would go
    void Grow();

    std::vector<Key, WipingAllocator<Key>> slots_;  // a short password is its own key
    size_t used_ = 0;
};

}  // namespace morvane
