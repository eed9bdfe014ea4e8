#pragma once

#include <cmath>

namespace chi_square {

// Bounds that a chi-square statistic of `df` degrees of freedom from fair
// draws leaves by chance about once in 10^9 runs (the Wilson-Hilferty
// approximation at six standard deviations), so a suite run many times a
// day does not fail on luck; a bias of a percent still lies far outside.
struct FairBounds {
    double low;
    double high;
};

inline FairBounds FairBoundsFor(double df) {
    constexpr double kStandardDeviations = 6.0;
    const double spread = std::sqrt(2.0 / (9.0 * df));
    const auto at = [&](double z) { return df * std::pow(1.0 - 2.0 / (9.0 * df) + z * spread, 3); };
    return {at(-kStandardDeviations), at(kStandardDeviations)};
}

}  // namespace chi_square
