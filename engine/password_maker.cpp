#include "engine/password_maker.h"

#include <algorithm>

#include "engine/rand.h"
#include "platform/base/runtime_error.h"

namespace morvane {
namespace {

constexpr int kLongest = 128;  // characters in a password at most

}  // namespace

PasswordMaker::PasswordMaker(const Pool& pool, int min_length, int max_length, bool variable_length)
    : pool_(pool), min_length_(min_length), max_length_(max_length), variable_(variable_length) {
    // Lengths are checked to lie from 4 to 128 before a maker is built.
    if (pool_.empty() || min_length_ < 0 || max_length_ > kLongest || min_length_ > max_length_)
        throw InvalidCallError();
    for (char32_t c : pool_) {
        utf8_.push_back(ToUtf8(std::u32string_view(&c, 1)));
        ascii_ = ascii_ && c < 0x80;
    }
    if (ascii_)
        for (char32_t c : pool_) ascii_bytes_ += static_cast<char>(c);
}

void PasswordMaker::DrawLengths(int* lengths, int count) {
    if (!variable_) {
        std::fill(lengths, lengths + count, max_length_);
        return;
    }
    uint32_t above_min[kLinesAtOnce];
    DrawManyBelow(static_cast<uint32_t>(max_length_ - min_length_ + 1), above_min, static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) lengths[i] = min_length_ + static_cast<int>(above_min[i]);
}

int PasswordMaker::NextLength() {
    int length = 0;
    DrawLengths(&length, 1);
    return length;
}

void PasswordMaker::Make(Text& password) {
    password.clear();
    const int length = NextLength();
    const int32_t last = static_cast<int32_t>(pool_.size()) - 1;
    for (int i = 0; i < length; ++i) password.push_back(pool_[static_cast<size_t>(Rand(0, last))]);
}

void PasswordMaker::AppendUtf8(std::string& out) { AppendLinesUtf8(out, 1, {}); }

void PasswordMaker::AppendLinesUtf8(std::string& out, int count, std::string_view line_end, size_t* password_ends) {
    if (count < 0 || count > kLinesAtOnce) throw InvalidCallError();
    int lengths[kLinesAtOnce];
    DrawLengths(lengths, count);
    size_t characters = 0;
    for (int i = 0; i < count; ++i) characters += static_cast<size_t>(lengths[i]);
    uint32_t indexes[kLinesAtOnce * kLongest];
    DrawManyBelow(static_cast<uint32_t>(pool_.size()), indexes, characters);
    const uint32_t* index = indexes;
    if (!ascii_) {
        for (int i = 0; i < count; ++i) {
            for (const uint32_t* end = index + lengths[i]; index < end; ++index) out += utf8_[*index];
            if (password_ends) password_ends[i] = out.size();
            out += line_end;
        }
        return;
    }
    // One byte a character: the lines are written in place.
    const size_t at = out.size();
    out.resize(at + characters + static_cast<size_t>(count) * line_end.size());
    char* write = out.data() + at;
    for (int i = 0; i < count; ++i) {
        for (const uint32_t* end = index + lengths[i]; index < end; ++index) *write++ = ascii_bytes_[*index];
        if (password_ends) password_ends[i] = static_cast<size_t>(write - out.data());
        write = std::copy(line_end.begin(), line_end.end(), write);
    }
}

}  // namespace morvane
