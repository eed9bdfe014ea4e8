#pragma once
// How many different outputs a generator can give: exactly while the number
// is small enough to compare with a run's count, and always as bits.
#include <cstdint>

namespace morvane {

struct OutputCount {
    // The number itself, or kMany when it is larger.
    static constexpr uint64_t kMany = uint64_t{1} << 62;
    uint64_t capped = 0;
    double bits = 0;  // log2 of the number; minus infinity for none

    static OutputCount Of(unsigned __int128 exact);
    static OutputCount FromBits(double bits);  // a number too large to hold exactly
    OutputCount operator+(const OutputCount& other) const;
    // The count as a run's possible-number check reads it, saturating at
    // 2147483647.
    int32_t AsRunCount() const;
};

}  // namespace morvane
