// Comparison helpers for floating-point results in the core tests.
#pragma once

#include <gtest/gtest.h>

// |actual - expected| <= relTol * |expected| (exact equality when expected is 0).
::testing::AssertionResult RelativelyNear(double actual, double expected, double relTol);

// actual and expected agree when both are rounded to significantDigits significant digits,
// the way published worked values are quoted.
::testing::AssertionResult SameToDigits(double actual, double expected, int significantDigits);
