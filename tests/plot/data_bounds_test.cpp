// Bounds of plotted points and the chart's axis ranges from them.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "plot/DataBounds.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

}  // namespace

TEST(DataBounds, EmptyUntilAFinitePointArrives) {
    DataBounds bounds;
    EXPECT_TRUE(bounds.Empty());
    bounds.Add(kNaN, 1.0);
    bounds.Add(1.0, kInf);
    bounds.Add(-kInf, 0.0);
    EXPECT_TRUE(bounds.Empty());
    bounds.Add(2.0, -3.0);
    EXPECT_FALSE(bounds.Empty());
    EXPECT_EQ(bounds, (DataBounds{2.0, 2.0, -3.0, -3.0, 2.0, kInf}));
}

TEST(DataBounds, MergingKeepsTheOuterBox) {
    DataBounds a = BoundsOf(std::vector<double>{0.0, 1.0}, std::vector<double>{5.0, -1.0});
    const DataBounds b =
        BoundsOf(std::vector<double>{-2.0, 0.5, 9.0}, std::vector<double>{0.0, 7.0});
    EXPECT_EQ(b, (DataBounds{-2.0, 0.5, 0.0, 7.0, 0.5, 7.0}));  // pairs only up to the shorter list
    a.Add(b);
    EXPECT_EQ(a, (DataBounds{-2.0, 1.0, -1.0, 7.0, 0.5, 5.0}));
    a.Add(DataBounds{});  // merging nothing changes nothing
    EXPECT_EQ(a, (DataBounds{-2.0, 1.0, -1.0, 7.0, 0.5, 5.0}));
}

TEST(DataBounds, SamplesLieAtWholeTimeSteps) {
    const std::vector<double> accG = {0.0, 0.31, -0.47, 0.2};
    EXPECT_EQ(SampleBounds(accG, 0.5), (DataBounds{0.0, 1.5, -0.47, 0.31, 0.5, 0.2}));
    // A negative step draws the record over negative times, a zero step at x = 0.
    EXPECT_EQ(SampleBounds(accG, -0.01), (DataBounds{-0.03, 0.0, -0.47, 0.31, kInf, 0.2}));
    EXPECT_EQ(SampleBounds(accG, 0.0), (DataBounds{0.0, 0.0, -0.47, 0.31, kInf, 0.2}));
    EXPECT_TRUE(SampleBounds({}, 0.01).Empty());
    // From a first sample on: the part a growing trace adds, still at i * step.
    EXPECT_EQ(SampleBounds(accG, 0.5, 2), (DataBounds{1.0, 1.5, -0.47, 0.2, 1.0, 0.2}));
    EXPECT_TRUE(SampleBounds(accG, 0.5, 4).Empty());
    EXPECT_TRUE(SampleBounds(accG, 0.5, 9).Empty());
    // x is i * step, as the chart draws it, not a running sum.
    const std::vector<double> many(1001, 0.0);
    EXPECT_EQ(SampleBounds(many, 0.01).maxX, 1000 * 0.01);
}

TEST(AxisRanges, BothAxesFromTheData) {
    const AxisRanges ranges = AxisRangesFor(DataBounds{0.0, 1.5, -0.47, 0.31}, false);
    EXPECT_EQ(ranges.bottom, NiceRangeFor(0.0, 1.5));
    EXPECT_EQ(ranges.left, NiceRangeFor(-0.47, 0.31));
}

TEST(AxisRanges, LeftFromZeroStartsAtZeroWhateverTheMinimum) {
    const AxisRanges ranges = AxisRangesFor(DataBounds{0.1, 3.0, 0.5, 7.3}, true);
    EXPECT_EQ(ranges.left.min, 0.0);
    EXPECT_GE(ranges.left.max, 7.3);
    EXPECT_LE(ranges.left.max, 10.0);
    EXPECT_EQ(ranges.bottom, NiceRangeFor(0.1, 3.0));
    // Nothing above 0 to show: the default left range rather than one below 0.
    EXPECT_EQ(AxisRangesFor(DataBounds{0.0, 1.0, -2.0, 0.0}, true).left, NiceRange{});
}

TEST(AxisRanges, NoPointsShowZeroToOne) {
    EXPECT_EQ(AxisRangesFor(DataBounds{}, false), AxisRanges{});
    EXPECT_EQ(AxisRangesFor(DataBounds{}, true), AxisRanges{});
    EXPECT_EQ(AxisRanges{}.bottom, (NiceRange{0.0, 1.0, 0.2}));
}

TEST(AxisRanges, LogarithmicAxesTakeThePositiveDecadesOnly) {
    // A spectrum at an early instant: zeros beside small positive values.
    DataBounds bounds =
        BoundsOf(std::vector<double>{0.02, 0.5, 6.0}, std::vector<double>{0.0, 0.003, 0.42});
    const AxisRanges ranges = AxisRangesFor(bounds, true, AxisScales{true, true});
    EXPECT_EQ(ranges.bottom, (NiceRange{0.01, 10.0, 10.0}));
    EXPECT_EQ(ranges.left, (NiceRange{0.001, 1.0, 10.0}));
    // One logarithmic axis leaves the other as it was.
    EXPECT_EQ(AxisRangesFor(bounds, true, AxisScales{true, false}).left,
              AxisRangesFor(bounds, true).left);
    // Nothing above 0 yet (all zero, or no points at all): the decade 1 to 10.
    const DataBounds zeros = BoundsOf(std::vector<double>{0.1, 1.0}, std::vector<double>{0.0, 0.0});
    EXPECT_EQ(AxisRangesFor(zeros, true, AxisScales{false, true}).left,
              (NiceRange{1.0, 10.0, 10.0}));
    EXPECT_EQ(AxisRangesFor(DataBounds{}, false, AxisScales{true, true}).bottom,
              (NiceRange{1.0, 10.0, 10.0}));
}
