#pragma once
// Splitting character texts and counting the passwords a pool allows.
#include <cstdint>
#include <vector>

#include "platform/text.h"

namespace morvane {

using Pool = std::vector<char32_t>;

// Every character of `text` except the blank, in text order. Blanks only
// separate. A text longer than 32767 characters is an overflow.
Pool GetOther(const Text& text);

// The look-alike characters, blank-separated.
inline const Text kLookAlikes = U"1 I | l 0 o O ` ' B 8";

// Number of distinct codes in the pool.
int CountDistinct(const Pool& pool);

// How many distinct passwords of the given lengths a pool of `distinct`
// codes can make, saturating at 2147483647. Fixed length uses `min_len`.
int32_t MaxPossiblePasswords(int distinct, int min_len, int max_len, bool variable_length);

}  // namespace morvane
