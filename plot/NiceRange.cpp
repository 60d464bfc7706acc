// Nice-number axis ranges: steps of 1, 2 or 5 times a power of ten, ends on whole steps.
#include "plot/NiceRange.h"

#include <algorithm>
#include <cmath>

namespace {

// The smallest of 1, 2, 5 and 10 times the power of ten below rawStep that is not below it.
double NiceStep(double rawStep) {
    const double magnitude = std::pow(10.0, std::floor(std::log10(rawStep)));
    const double fraction = rawStep / magnitude;
    const double nice = fraction <= 1.0   ? 1.0
                        : fraction <= 2.0 ? 2.0
                        : fraction <= 5.0 ? 5.0
                                          : 10.0;
    return nice * magnitude;
}

}  // namespace

NiceRange NiceRangeFor(double dataMin, double dataMax, int targetIntervals) {
    if (!(dataMin <= dataMax) || !std::isfinite(dataMin) || !std::isfinite(dataMax)) {
        return NiceRange{};
    }
    if (dataMax - dataMin <= std::abs(dataMax) * 1e-12) {
        const double half = dataMax == 0.0 ? 1.0 : std::abs(dataMax) * 0.1;
        dataMin -= half;
        dataMax += half;
    }
    const double rawStep = (dataMax - dataMin) / std::max(1, targetIntervals);
    if (!std::isfinite(rawStep) || rawStep <= 0.0) {  // bounds near the largest double
        return NiceRange{};
    }
    NiceRange range;
    range.step = NiceStep(rawStep);
    range.min = std::floor(dataMin / range.step) * range.step;
    range.max = std::ceil(dataMax / range.step) * range.step;
    // The product of a whole multiple and the step can land an ulp inside the data; the
    // data's own end then is the axis end, so no point falls outside the plot.
    range.min = std::min(range.min, dataMin);
    range.max = std::max(range.max, dataMax);
    if (!std::isfinite(range.min) || !std::isfinite(range.max)) {
        return NiceRange{};
    }
    return range;
}

int DecimalsFor(double step) {
    if (!(step > 0.0) || !std::isfinite(step)) {
        return 0;
    }
    return std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
}

int TickCount(const NiceRange& range) {
    return static_cast<int>(std::lround((range.max - range.min) / range.step)) + 1;
}
