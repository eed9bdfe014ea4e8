#include "engine/duplicate_index.h"

namespace morvane {
namespace {

uint64_t Mix(uint64_t x) {  // splitmix64's finaliser
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

}  // namespace

DuplicateIndex::Key DuplicateIndex::KeyOf(std::u32string_view password) {
    Key key;
    bool ascii = password.size() <= 15;
    for (char32_t c : password) ascii = ascii && c < 0x80;
    if (ascii) {
        // The characters themselves, and the length with a mark bit in the top byte.
        for (size_t i = 0; i < password.size(); ++i) {
            uint64_t& half = i < 8 ? key.low : key.high;
            half |= static_cast<uint64_t>(password[i]) << (8 * (i % 8));
        }
        key.high |= (0x80ull | password.size()) << 56;
        return key;
    }
    uint64_t a = 0x243F6A8885A308D3ull ^ password.size(), b = 0x13198A2E03707344ull;
    for (char32_t c : password) {
        a = Mix(a ^ c);
        b = Mix(b + c * 0x9E3779B97F4A7C15ull);
    }
    key.low = a | 1;                         // never all zero
    key.high = b & ~(0x80ull << 56);         // never marked as a literal key
    return key;
}

size_t DuplicateIndex::Find(const Key& key) const {
    size_t mask = slots_.size() - 1;
    size_t i = Mix(key.low ^ Mix(key.high)) & mask;
    while (!(slots_[i] == Key{}) && !(slots_[i] == key)) i = (i + 1) & mask;
    return i;
}

void DuplicateIndex::Grow() {
    auto old = std::move(slots_);
    slots_.assign(old.empty() ? 1024 : old.size() * 2, Key{});
    for (const Key& k : old)
        if (!(k == Key{})) slots_[Find(k)] = k;
}

bool DuplicateIndex::Insert(std::u32string_view password) {
    if ((used_ + 1) * 2 > slots_.size()) Grow();  // at most half full
    Key key = KeyOf(password);
    size_t i = Find(key);
    if (slots_[i] == key) return false;
    slots_[i] = key;
    ++used_;
    return true;
}

bool DuplicateIndex::Contains(std::u32string_view password) const {
    if (slots_.empty()) return false;
    Key key = KeyOf(password);
    return slots_[Find(key)] == key;
}

}  // namespace morvane
