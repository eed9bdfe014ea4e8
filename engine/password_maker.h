#pragma once
// Making passwords from a built pool: the length drawn between the two
// bounds (or fixed), then each character drawn from the pool's entries.
#include <string>

#include "engine/character_codes.h"

namespace morvane {

class PasswordMaker {
public:
    PasswordMaker(const Pool& pool, int min_length, int max_length, bool variable_length);
    // One password, as code points.
    void Make(Text& password);
    // One password, appended as UTF-8.
    void AppendUtf8(std::string& out);

private:
    int NextLength();

    Pool pool_;
    std::vector<std::string> utf8_;  // each entry's UTF-8 form
    bool ascii_ = true;
    int min_length_, max_length_;
    bool variable_;
};

}  // namespace morvane
