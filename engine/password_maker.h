#pragma once
// Making passwords from a built pool: the length drawn between the two
// bounds (or fixed), then each character drawn from the pool's entries.
#include <string>
#include <string_view>

#include "engine/character_codes.h"

namespace morvane {

class PasswordMaker {
public:
    PasswordMaker(const Pool& pool, int min_length, int max_length, bool variable_length);
    // One password, as code points.
    void Make(Text& password);
    // One password, appended as UTF-8.
    void AppendUtf8(std::string& out);
    // `count` passwords (at most kLinesAtOnce), each appended as UTF-8 with
    // `line_end` behind it; their lengths and characters are drawn together.
    // `password_ends`, when given, receives where each password ends in `out`.
    static constexpr int kLinesAtOnce = 64;
    void AppendLinesUtf8(std::string& out, int count, std::string_view line_end, size_t* password_ends = nullptr);

private:
    int NextLength();
    void DrawLengths(int* lengths, int count);  // count at most kLinesAtOnce

    Pool pool_;
    std::vector<std::string> utf8_;  // each entry's UTF-8 form
    std::string ascii_bytes_;        // each entry's byte, while all are ASCII
    bool ascii_ = true;
    int min_length_, max_length_;
    bool variable_;
};

}  // namespace morvane
