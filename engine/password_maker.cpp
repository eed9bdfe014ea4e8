#include "engine/password_maker.h"

#include "engine/rand.h"

namespace morvane {

PasswordMaker::PasswordMaker(const Pool& pool, int min_length, int max_length, bool variable_length)
    : pool_(pool), min_length_(min_length), max_length_(max_length), variable_(variable_length) {
    for (char32_t c : pool_) {
        utf8_.push_back(ToUtf8(std::u32string_view(&c, 1)));
        ascii_ = ascii_ && c < 0x80;
    }
}

int PasswordMaker::NextLength() {
    return variable_ ? Rand(min_length_, max_length_) : max_length_;
}

void PasswordMaker::Make(Text& password) {
    password.clear();
    const int length = NextLength();
    const int32_t last = static_cast<int32_t>(pool_.size()) - 1;
    for (int i = 0; i < length; ++i) password.push_back(pool_[static_cast<size_t>(Rand(0, last))]);
}

void PasswordMaker::AppendUtf8(std::string& out) {
    const int length = NextLength();
    const int32_t last = static_cast<int32_t>(pool_.size()) - 1;
    if (ascii_) {
        for (int i = 0; i < length; ++i) out.push_back(static_cast<char>(pool_[static_cast<size_t>(Rand(0, last))]));
    } else {
        for (int i = 0; i < length; ++i) out += utf8_[static_cast<size_t>(Rand(0, last))];
    }
}

}  // namespace morvane
