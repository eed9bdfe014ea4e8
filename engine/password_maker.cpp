#include "engine/password_maker.h"

#include "engine/rand.h"
#include "platform/runtime_error.h"

namespace morvane {

PasswordMaker::PasswordMaker(const Pool& pool, int min_length, int max_length, bool variable_length)
    : pool_(pool), min_length_(min_length), max_length_(max_length), variable_(variable_length) {
    // Lengths are checked to lie from 4 to 128 before a maker is built.
    if (pool_.empty() || min_length_ < 0 || max_length_ > 128 || min_length_ > max_length_)
        throw InvalidCallError();
    for (char32_t c : pool_) {
        utf8_.push_back(ToUtf8(std::u32string_view(&c, 1)));
        ascii_ = ascii_ && c < 0x80;
    }
}

int PasswordMaker::NextLength() {
    if (!variable_) return max_length_;
    uint32_t above_min = 0;
    DrawManyBelow(static_cast<uint32_t>(max_length_ - min_length_ + 1), &above_min, 1);
    return min_length_ + static_cast<int>(above_min);
}

void PasswordMaker::Make(Text& password) {
    password.clear();
    const int length = NextLength();
    const int32_t last = static_cast<int32_t>(pool_.size()) - 1;
    for (int i = 0; i < length; ++i) password.push_back(pool_[static_cast<size_t>(Rand(0, last))]);
}

void PasswordMaker::AppendUtf8(std::string& out) {
    const int length = NextLength();
    uint32_t indexes[128];
    DrawManyBelow(static_cast<uint32_t>(pool_.size()), indexes, static_cast<size_t>(length));
    if (ascii_) {
        const size_t at = out.size();
        out.resize(at + static_cast<size_t>(length));
        for (int i = 0; i < length; ++i) out[at + static_cast<size_t>(i)] = static_cast<char>(pool_[indexes[i]]);
    } else {
        for (int i = 0; i < length; ++i) out += utf8_[indexes[i]];
    }
}

}  // namespace morvane
