// Bounds of plotted points and the axis ranges derived from them.
#include "plot/DataBounds.h"

#include "plot/LogRange.h"

#include <algorithm>
#include <cmath>

void DataBounds::Add(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) {
        return;
    }
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
    if (x > 0.0) {
        minPositiveX = std::min(minPositiveX, x);
    }
    if (y > 0.0) {
        minPositiveY = std::min(minPositiveY, y);
    }
}

void DataBounds::Add(const DataBounds& other) {
    if (other.Empty()) {
        return;
    }
    Add(other.minX, other.minY);
    Add(other.maxX, other.maxY);
    minPositiveX = std::min(minPositiveX, other.minPositiveX);
    minPositiveY = std::min(minPositiveY, other.minPositiveY);
}

DataBounds BoundsOf(std::span<const double> x, std::span<const double> y) {
    DataBounds bounds;
    const std::size_t count = std::min(x.size(), y.size());
    for (std::size_t k = 0; k < count; ++k) {
        bounds.Add(x[k], y[k]);
    }
    return bounds;
}

DataBounds SampleBounds(std::span<const double> samples, double timeStep, std::size_t first) {
    DataBounds bounds;
    for (std::size_t i = first; i < samples.size(); ++i) {
        bounds.Add(static_cast<double>(i) * timeStep, samples[i]);
    }
    return bounds;
}

AxisRanges AxisRangesFor(const DataBounds& visible, bool leftFromZero, AxisScales scales) {
    AxisRanges ranges;
    if (scales.logBottom) {
        ranges.bottom = LogRangeFor(visible.minPositiveX, visible.maxX);
    } else if (!visible.Empty()) {
        ranges.bottom = NiceRangeFor(visible.minX, visible.maxX);
    }
    if (scales.logLeft) {
        ranges.left = LogRangeFor(visible.minPositiveY, visible.maxY);
    } else if (leftFromZero && !visible.Empty()) {
        ranges.left = visible.maxY > 0.0 ? NiceRangeFor(0.0, visible.maxY) : NiceRange{};
    } else if (!visible.Empty()) {
        ranges.left = NiceRangeFor(visible.minY, visible.maxY);
    }
    return ranges;
}
