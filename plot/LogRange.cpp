// Decade ranges for logarithmic axes.
#include "plot/LogRange.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

// Powers of ten that stay normal doubles: 10^-307 .. 10^308.
constexpr double kLowestExponent = -307.0;
constexpr double kHighestExponent = 308.0;

// 10^exponent as the nearest double, the value the literal 1e<exponent> has (std::pow may be
// an ulp off, and an axis end of 0.0010000000000000002 would print as such).
double Decade(double exponent) {
    const int whole = static_cast<int>(std::clamp(exponent, kLowestExponent, kHighestExponent));
    return std::strtod(("1e" + std::to_string(whole)).c_str(), nullptr);
}

}  // namespace

NiceRange LogRangeFor(double minPositive, double maxPositive) {
    const NiceRange fallback{1.0, 10.0, 10.0};
    if (!(minPositive > 0.0) || !(minPositive <= maxPositive) || !std::isfinite(maxPositive)) {
        return fallback;
    }
    double low = std::floor(std::log10(minPositive));
    double high = std::ceil(std::log10(maxPositive));
    // log10 of a value a hair above a power of ten can round onto the power itself.
    if (Decade(low) > minPositive) {
        low -= 1.0;
    }
    if (Decade(high) < maxPositive) {
        high += 1.0;
    }
    if (high <= low) {
        high = low + 1.0;  // one value, or all within one power of ten: a whole decade
    }
    NiceRange range{Decade(low), Decade(high), 10.0};
    range.min = std::min(range.min, minPositive);
    range.max = std::max(range.max, maxPositive);
    return range;
}
