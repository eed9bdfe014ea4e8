#include "engine/duplicate_index.h"

#include <algorithm>
#include <bit>

#include "platform/base/text.h"

namespace morvane {
namespace {

constexpr size_t kLiteralLength = 9;  // 9 x 7 bits and the mark fill 64
constexpr size_t kFirstSlots = 1024;

// A table at most three quarters full for `count` keys.
size_t SlotsFor(size_t count) { return std::bit_ceil(std::max(kFirstSlots, count + count / 3 + 1)); }

}  // namespace

DuplicateIndex::Key DuplicateIndex::KeyOf(std::u32string_view password) {
    bool literal = password.size() <= kLiteralLength;
    for (char32_t c : password) literal = literal && c < 0x80;
    if (literal) {
        Key key = 1;  // the mark: it tells the length and keeps the key from 0
        for (char32_t c : password) key = (key << 7) | c;
        return key;
    }
    uint64_t h = 0x243F6A8885A308D3ull ^ password.size();
    for (char32_t c : password) h = Mix(h ^ c);
    return h | 1;  // never 0
}

DuplicateIndex::Key DuplicateIndex::KeyOfUtf8(std::string_view password) {
    if (password.size() <= kLiteralLength) {
        Key key = 1;
        bool ascii = true;
        for (char c : password) {
            ascii = ascii && static_cast<unsigned char>(c) < 0x80;
            key = (key << 7) | static_cast<unsigned char>(c);
        }
        if (ascii) return key;
    }
    return KeyOf(FromUtf8(password));
}

void DuplicateIndex::Reserve(size_t count) {
    count = std::min(count, kMostReserved);
    if (SlotsFor(count) > slots_.size()) Resize(SlotsFor(count));
}

void DuplicateIndex::Resize(size_t slots) {
    auto old = std::move(slots_);
    slots_ = ZeroedPages<Key>(slots);
    for (Key k : old)
        if (k != 0) slots_[Find(k)] = k;
}

bool DuplicateIndex::Insert(std::u32string_view password) { return InsertKey(KeyOf(password)); }

bool DuplicateIndex::InsertUtf8(std::string_view password) { return InsertKey(KeyOfUtf8(password)); }

void DuplicateIndex::Grow() { Resize(SlotsFor((used_ + 1) * 2)); }

bool DuplicateIndex::Contains(std::u32string_view password) const {
    if (slots_.empty()) return false;
    const Key key = KeyOf(password);
    return slots_[Find(key)] == key;
}

}  // namespace morvane
