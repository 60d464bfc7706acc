// The extent of plotted points and the two axis ranges a chart shows for it.
#pragma once

#include <cstddef>
#include <limits>
#include <span>

#include "plot/NiceRange.h"

// The smallest box holding every finite point added, and the smallest positive coordinates
// among them (what a logarithmic axis can show); empty until the first one.
struct DataBounds {
    double minX = std::numeric_limits<double>::infinity();
    double maxX = -std::numeric_limits<double>::infinity();
    double minY = std::numeric_limits<double>::infinity();
    double maxY = -std::numeric_limits<double>::infinity();
    double minPositiveX = std::numeric_limits<double>::infinity();  // infinite: no x above 0
    double minPositiveY = std::numeric_limits<double>::infinity();  // infinite: no y above 0

    // Adds the point (x, y); a point with an infinite or not-a-number coordinate is skipped,
    // since no axis can show it.
    void Add(double x, double y);
    // Adds every point of other.
    void Add(const DataBounds& other);
    bool Empty() const { return minX > maxX; }

    bool operator==(const DataBounds&) const = default;
};

// The bounds of the points (x[k], y[k]) for k below the shorter length.
DataBounds BoundsOf(std::span<const double> x, std::span<const double> y);

// The bounds of samples[first ..] drawn at i * timeStep for sample i (time in s, values as
// given): the whole record with first 0, the part added to a growing trace with first > 0.
DataBounds SampleBounds(std::span<const double> samples, double timeStep, std::size_t first = 0);

// The bottom and left axis ranges of a chart.
struct AxisRanges {
    NiceRange bottom;
    NiceRange left;

    bool operator==(const AxisRanges&) const = default;
};

// Which axes of a chart are logarithmic.
struct AxisScales {
    bool logBottom = false;
    bool logLeft = false;
};

// Nice ranges around the visible points: both axes from the data, or with leftFromZero the
// left axis from 0 up to the largest y (the default range when no y is above 0). Without
// points both axes show the default range 0 to 1. A logarithmic axis gets the decades around
// its positive coordinates only (LogRangeFor: 1 to 10 when none is positive), whatever
// leftFromZero says.
AxisRanges AxisRangesFor(const DataBounds& visible, bool leftFromZero, AxisScales scales = {});
