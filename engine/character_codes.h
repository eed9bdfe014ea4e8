#pragma once
// Splitting character texts and counting the passwords a pool allows.
#include <cstdint>
#include <vector>

#include "platform/base/text.h"

namespace morvane {

using Pool = std::vector<char32_t>;

// The characters that only separate in an Other text: the blank, line and
// paragraph breaks, NUL and the other control characters except the tab.
bool IsOtherSeparator(char32_t c);

// Every character of `text` except the separators, in text order.
Pool GetOther(const Text& text);

// The look-alike characters, blank-separated.
inline const Text kLookAlikes = U"1 I | l 0 o O ` ' B 8";

// Number of distinct codes in the pool.
int CountDistinct(const Pool& pool);

// How many distinct passwords of the given lengths a pool of `distinct`
// codes can make, saturating at 2147483647. Fixed length uses `min_len`.
int32_t MaxPossiblePasswords(int distinct, int min_len, int max_len, bool variable_length);

}  // namespace morvane
