// The minimum and maximum of a benchmark's repetitions, reported beside Google Benchmark's
// mean, median and standard deviation: the figures the project quotes are min/median/max.
#pragma once

#include <algorithm>
#include <vector>

inline double MinimumOf(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}
inline double MaximumOf(const std::vector<double>& v) {
    return *std::max_element(v.begin(), v.end());
}

