// How the tick labels of an axis are written: fixed decimals for everyday magnitudes, a compact
// scientific form for very large or very small ones.
#pragma once

#include "plot/NiceRange.h"

struct TickLabelFormat {
    // 'f': fixed point with precision decimals; 'g': precision significant digits, written
    // with an exponent where the value's power of ten reaches precision or lies below -4.
    char format = 'f';
    int precision = 0;

    bool operator==(const TickLabelFormat&) const = default;
};

// Labels for the ticks of a linear range (every multiple of step from min to max): the decimals
// the step needs, unless the largest magnitude is 1e6 or more or the step below 1e-4, where a
// fixed form would run to many digits; then just enough significant digits to tell
// neighbouring ticks apart.
TickLabelFormat LinearLabelFormat(const NiceRange& range);

// Labels for the decades of a logarithmic range: plain numbers from 1e-4 to 1e5 (0.001, 100),
// powers of ten otherwise.
TickLabelFormat LogLabelFormat(const NiceRange& range);
