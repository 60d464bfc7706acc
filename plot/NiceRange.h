// Nice axis ranges: data bounds widened to whole multiples of 1, 2 or 5 times a power of ten.
#pragma once

// An axis range from min to max with ticks at every whole multiple of step in between, both
// ends included. Units are those of the data on the axis.
struct NiceRange {
    double min = 0.0;
    double max = 1.0;
    double step = 0.2;

    bool operator==(const NiceRange&) const = default;
};

// The nice range around [dataMin, dataMax] with about targetIntervals steps (at least one); its
// ends are whole multiples of the step, or the data's own ends where rounding would put the
// multiple an ulp inside the data. A
// zero-width range is widened (by 10 % of its value, or by 1 around 0) so the axis never
// collapses; bounds that are not finite or not in order give the default range 0 to 1.
NiceRange NiceRangeFor(double dataMin, double dataMax, int targetIntervals = 5);

// Number of decimals that shows every multiple of step exactly (0 for steps of 1 and above).
int DecimalsFor(double step);

// Number of ticks of range: one at min, one at max and one at every step between.
int TickCount(const NiceRange& range);
