// Comparison helpers for floating-point results in the core tests.
#include "support/Tolerance.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

std::string Rounded(double value, int significantDigits) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*e", significantDigits - 1, value);
    return text;
}

}  // namespace

::testing::AssertionResult RelativelyNear(double actual, double expected, double relTol) {
    const double error = std::fabs(actual - expected);
    if (error <= relTol * std::fabs(expected)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << actual << " differs from " << expected << " by relative "
           << error / std::fabs(expected) << " (allowed " << relTol << ")";
}

::testing::AssertionResult SameToDigits(double actual, double expected, int significantDigits) {
    const std::string a = Rounded(actual, significantDigits);
    const std::string e = Rounded(expected, significantDigits);
    if (a == e) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "rounded to " << significantDigits << " digits: " << a << " instead of " << e;
}
