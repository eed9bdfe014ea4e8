#include "engine/output_count.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace morvane {

OutputCount OutputCount::Of(unsigned __int128 exact) {
    OutputCount count;
    count.capped = exact >= kMany ? kMany : static_cast<uint64_t>(exact);
    if (exact == 0) {
        count.bits = -std::numeric_limits<double>::infinity();
    } else {
        const double high = static_cast<double>(static_cast<uint64_t>(exact >> 64));
        const double low = static_cast<double>(static_cast<uint64_t>(exact));
        count.bits = std::log2(high * 18446744073709551616.0 + low);
    }
    return count;
}

OutputCount OutputCount::FromBits(double bits) {
    OutputCount count;
    count.bits = bits;
    count.capped = bits >= 62 ? kMany : static_cast<uint64_t>(std::llround(std::exp2(bits)));
    return count;
}

OutputCount OutputCount::operator+(const OutputCount& other) const {
    OutputCount sum;
    sum.capped = std::min(kMany, capped + other.capped);
    const double a = std::max(bits, other.bits), b = std::min(bits, other.bits);
    sum.bits = std::isinf(b) ? a : a + std::log2(1 + std::exp2(b - a));
    return sum;
}

int32_t OutputCount::AsRunCount() const {
    return static_cast<int32_t>(std::min<uint64_t>(capped, std::numeric_limits<int32_t>::max()));
}

}  // namespace morvane
