// Tick label formats from the magnitudes on an axis.
#include "plot/TickLabels.h"

#include <algorithm>
#include <cmath>

namespace {

// Beyond these magnitudes fixed-point labels grow long: 1e6 needs seven digits, a step of
// 1e-5 five decimals.
constexpr double kLargestFixed = 1e6;
constexpr double kSmallestFixedStep = 1e-4;
// The plain decades of a logarithmic axis.
constexpr double kSmallestPlainDecade = 1e-4;
constexpr double kLargestPlainDecade = 1e5;

int Exponent(double value) {
    return static_cast<int>(std::floor(std::log10(value) + 1e-9));
}

}  // namespace

TickLabelFormat LinearLabelFormat(const NiceRange& range) {
    const double largest = std::max(std::abs(range.min), std::abs(range.max));
    const bool finite = std::isfinite(largest) && std::isfinite(range.step) && range.step > 0.0;
    if (!finite || (largest < kLargestFixed && range.step >= kSmallestFixedStep)) {
        return TickLabelFormat{'f', DecimalsFor(range.step)};
    }
    // Digits from the largest label's power of ten down to the step's: 1.2e+306 beside 2e+305.
    const int digits = largest > 0.0 ? Exponent(largest) - Exponent(range.step) + 1 : 1;
    return TickLabelFormat{'g', std::clamp(digits, 1, 17)};
}

TickLabelFormat LogLabelFormat(const NiceRange& range) {
    if (range.min >= kSmallestPlainDecade && range.max <= kLargestPlainDecade) {
        return TickLabelFormat{'g', 6};
    }
    return TickLabelFormat{'g', 1};
}
