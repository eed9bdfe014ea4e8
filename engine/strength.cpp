#include "engine/strength.h"

#include <cmath>
#include <unordered_map>

namespace morvane {

double BitsPerCharacter(const Pool& pool) {
    if (pool.empty()) return 0;
    std::unordered_map<char32_t, int> entries;
    for (char32_t c : pool) ++entries[c];
    double bits = 0, total = static_cast<double>(pool.size());
    for (auto [c, n] : entries) {
        double p = n / total;
        bits -= p * std::log2(p);
    }
    return bits;
}

std::string StrengthWord(double bits) {
    if (bits < 40) return "Poor";
    if (bits < 75) return "Weak";
    if (bits < 100) return "Good";
    return "Excellent";
}

}  // namespace morvane
