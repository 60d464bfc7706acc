// Ranges of logarithmic axes: whole decades around the positive data.
#pragma once

#include "plot/NiceRange.h"

// The decade range around the positive values from minPositive to maxPositive: from the power
// of ten at or below minPositive to the power of ten at or above maxPositive, at least one decade
// wide; step is the factor between neighbouring decades (10). Values of 0 or below have no place
// on a logarithmic axis, so a caller passes the smallest positive value it has; when there is
// none (minPositive not positive, or bounds not finite or out of order) the range is the decade
// from 1 to 10. Exponents stay within the normal doubles (1e-307 to 1e308) and the data's own
// ends are kept where the decade would cut them.
NiceRange LogRangeFor(double minPositive, double maxPositive);
