#include "engine/character_codes.h"

#include <algorithm>
#include <cmath>

#include "platform/base/runtime_error.h"

namespace morvane {

bool IsOtherSeparator(char32_t c) {
    if (c == U'\t') return false;  // a tab is a character like any other
    return c == U' ' || c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

Pool GetOther(const Text& text) {
    Pool codes;
    codes.reserve(text.size());
    for (char32_t c : text)
        if (!IsOtherSeparator(c)) codes.push_back(c);
    return codes;
}

int CountDistinct(const Pool& pool) {
    Pool sorted = pool;
    std::sort(sorted.begin(), sorted.end());
    return static_cast<int>(std::unique(sorted.begin(), sorted.end()) - sorted.begin());
}

int32_t MaxPossiblePasswords(int distinct, int min_len, int max_len, bool variable_length) {
    constexpr double kMax = 2147483647.0;
    if (!variable_length) max_len = min_len;
    double total = 0;
    for (int len = min_len; len <= max_len; ++len) {
        double power = std::pow(static_cast<double>(distinct), len);
        if (!std::isfinite(power) || power > kMax) return INT32_MAX;
        total = std::floor(total + std::nearbyint(power));
        if (total > kMax) return INT32_MAX;
    }
    return static_cast<int32_t>(total);
}

}  // namespace morvane
