// Nice axis ranges: the steps, the ends on whole steps, degenerate and hostile bounds.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "plot/NiceRange.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct RangeCase {
    double low, high;
    double min, max, step;
};

// The mantissa of step: 1, 2 or 5 for a nice step.
double Mantissa(double step) {
    return step / std::pow(10.0, std::floor(std::log10(step)));
}

}  // namespace

TEST(NiceRange, KnownRanges) {
    const RangeCase cases[] = {
        {0.0, 1.5, 0.0, 1.5, 0.5},        // the record's time axis of a 1.5 s record
        {-0.47, 0.31, -0.6, 0.4, 0.2},    // a record's accelerations (g)
        {0.0, 19.99, 0.0, 20.0, 5.0},     // just below a whole step
        {0.0, 81.975, 0.0, 100.0, 20.0},  // Chino Hills' duration (s)
        {0.0, 0.0, -1.0, 1.0, 0.5},       // flat at 0: widened by 1
        {3.0, 3.0, 2.6, 3.4, 0.2},        // flat elsewhere: widened by 10 %
        {-3.0, -3.0, -3.4, -2.6, 0.2},   {1e-7, 3e-7, 1e-7, 3e-7, 5e-8},
    };
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.low << " .. " << c.high);
        const NiceRange range = NiceRangeFor(c.low, c.high);
        EXPECT_NEAR(range.step, c.step, 1e-9 * c.step);
        EXPECT_NEAR(range.min, c.min, 1e-9 * c.step);
        EXPECT_NEAR(range.max, c.max, 1e-9 * c.step);
    }
}

// Whatever the data, the range holds it, ends on whole steps of 1, 2 or 5 times a power of
// ten, and has between the target and about twice the target intervals.
TEST(NiceRange, CoversTheDataWithWholeNiceSteps) {
    for (double low = -1234.5; low < 1000.0; low += 97.3) {
        for (double width : {1e-3, 0.37, 2.0, 55.5, 4e4}) {
            const double high = low + width;
            const NiceRange range = NiceRangeFor(low, high);
            ASSERT_LE(range.min, low);
            ASSERT_GE(range.max, high);
            const double mantissa = Mantissa(range.step);
            ASSERT_TRUE(std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 ||
                        std::abs(mantissa - 5) < 1e-9)
                << range.step;
            const double stepsToMin = range.min / range.step;
            ASSERT_NEAR(stepsToMin, std::round(stepsToMin), 1e-6);
            const int intervals = TickCount(range) - 1;
            ASSERT_GE(intervals, 2) << low << " " << width;
            ASSERT_LE(intervals, 12) << low << " " << width;
        }
    }
}

TEST(NiceRange, TargetIntervalsSetTheStep) {
    EXPECT_DOUBLE_EQ(NiceRangeFor(0.0, 10.0, 10).step, 1.0);
    EXPECT_DOUBLE_EQ(NiceRangeFor(0.0, 10.0, 2).step, 5.0);
    // No interval count below one: the whole span in one step.
    EXPECT_DOUBLE_EQ(NiceRangeFor(0.0, 10.0, 0).step, 10.0);
}

TEST(NiceRange, HostileBoundsGiveTheDefaultRange) {
    const NiceRange fallback;
    EXPECT_EQ(NiceRangeFor(1.0, 0.0), fallback);  // out of order
    EXPECT_EQ(NiceRangeFor(kNaN, 1.0), fallback);
    EXPECT_EQ(NiceRangeFor(0.0, kNaN), fallback);
    EXPECT_EQ(NiceRangeFor(-kInf, 1.0), fallback);
    EXPECT_EQ(NiceRangeFor(0.0, kInf), fallback);
    // Finite bounds whose span or ends overflow.
    const double huge = std::numeric_limits<double>::max();
    EXPECT_EQ(NiceRangeFor(-huge, huge), fallback);
    EXPECT_EQ(NiceRangeFor(0.0, huge), fallback);
    EXPECT_EQ(fallback, (NiceRange{0.0, 1.0, 0.2}));
}

TEST(NiceRange, DecimalsShowEveryMultipleOfTheStep) {
    EXPECT_EQ(DecimalsFor(20.0), 0);
    EXPECT_EQ(DecimalsFor(1.0), 0);
    EXPECT_EQ(DecimalsFor(0.5), 1);
    EXPECT_EQ(DecimalsFor(0.2), 1);
    EXPECT_EQ(DecimalsFor(0.05), 2);
    EXPECT_EQ(DecimalsFor(0.1), 1);                           // 10^-1 exactly, despite log10
    EXPECT_EQ(DecimalsFor(NiceRangeFor(0.0, 1e-3).step), 4);  // 0.0002 steps
    EXPECT_EQ(DecimalsFor(0.0), 0);
    EXPECT_EQ(DecimalsFor(kNaN), 0);
}

TEST(NiceRange, TickCountIncludesBothEnds) {
    EXPECT_EQ(TickCount(NiceRange{}), 6);
    EXPECT_EQ(TickCount(NiceRangeFor(-0.47, 0.31)), 6);  // -0.6 .. 0.4 by 0.2
    EXPECT_EQ(TickCount(NiceRangeFor(0.0, 81.975)), 6);  // 0 .. 100 by 20
    // Ends computed as floor and ceil multiples still count whole steps.
    EXPECT_EQ(TickCount(NiceRange{0.1, 0.7000000000000001, 0.1}), 7);
}
