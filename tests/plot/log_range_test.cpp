// Decade ranges of logarithmic axes and the tick label formats of both kinds of axis.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "plot/LogRange.h"
#include "plot/TickLabels.h"

TEST(LogRange, WholeDecadesAroundThePositiveData) {
    EXPECT_EQ(LogRangeFor(0.02, 6.0), (NiceRange{0.01, 10.0, 10.0}));
    EXPECT_EQ(LogRangeFor(3e-7, 2e4), (NiceRange{1e-7, 1e5, 10.0}));
    // Powers of ten are their own ends; one value or one decade still spans a decade.
    EXPECT_EQ(LogRangeFor(0.001, 1000.0), (NiceRange{0.001, 1000.0, 10.0}));
    EXPECT_EQ(LogRangeFor(100.0, 100.0), (NiceRange{100.0, 1000.0, 10.0}));
    EXPECT_EQ(LogRangeFor(2.0, 5.0), (NiceRange{1.0, 10.0, 10.0}));
}

TEST(LogRange, NothingPositiveFallsBackToOneDecade) {
    const NiceRange decade{1.0, 10.0, 10.0};
    EXPECT_EQ(LogRangeFor(0.0, 0.0), decade);
    EXPECT_EQ(LogRangeFor(-1.0, 5.0), decade);
    EXPECT_EQ(LogRangeFor(std::numeric_limits<double>::infinity(), -1.0), decade);
    EXPECT_EQ(LogRangeFor(1.0, std::numeric_limits<double>::infinity()), decade);
    EXPECT_EQ(LogRangeFor(std::numeric_limits<double>::quiet_NaN(), 1.0), decade);
}

TEST(LogRange, ExtremeMagnitudesStayFiniteAndHoldTheData) {
    const NiceRange huge = LogRangeFor(1e300, std::numeric_limits<double>::max());
    EXPECT_EQ(huge.min, 1e300);
    EXPECT_EQ(huge.max, std::numeric_limits<double>::max());
    const NiceRange tiny = LogRangeFor(std::numeric_limits<double>::denorm_min(), 1e-300);
    EXPECT_GT(tiny.min, 0.0);
    EXPECT_LE(tiny.min, std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(tiny.max, 1e-300);
}

TEST(TickLabels, FixedForEverydayMagnitudesScientificBeyond) {
    // Decimals from the step, as the axes have always shown them.
    EXPECT_EQ(LinearLabelFormat(NiceRange{0.0, 1.2, 0.2}), (TickLabelFormat{'f', 1}));
    EXPECT_EQ(LinearLabelFormat(NiceRange{-500.0, 500.0, 100.0}), (TickLabelFormat{'f', 0}));
    EXPECT_EQ(LinearLabelFormat(NiceRange{0.0, 0.002, 0.0005}), (TickLabelFormat{'f', 4}));
    // A record of 1e306 g: two digits tell 1.2e306 from 1.4e306, not forty.
    EXPECT_EQ(LinearLabelFormat(NiceRange{0.0, 1.2e306, 2e305}), (TickLabelFormat{'g', 2}));
    EXPECT_EQ(LinearLabelFormat(NiceRange{0.0, 3e-5, 5e-6}), (TickLabelFormat{'g', 2}));
    EXPECT_EQ(LinearLabelFormat(NiceRange{-2e6, 2e6, 1e6}), (TickLabelFormat{'g', 1}));
    // A narrow window far from zero needs every digit down to the step.
    EXPECT_EQ(LinearLabelFormat(NiceRange{1e6, 1.0001e6, 20.0}), (TickLabelFormat{'g', 6}));
}

TEST(TickLabels, LogarithmicDecadesPlainOrAsPowers) {
    EXPECT_EQ(LogLabelFormat(NiceRange{0.01, 10.0, 10.0}), (TickLabelFormat{'g', 6}));
    EXPECT_EQ(LogLabelFormat(NiceRange{1e-4, 1e5, 10.0}), (TickLabelFormat{'g', 6}));
    EXPECT_EQ(LogLabelFormat(NiceRange{1e-7, 1.0, 10.0}), (TickLabelFormat{'g', 1}));
    EXPECT_EQ(LogLabelFormat(NiceRange{1.0, 1e306, 10.0}), (TickLabelFormat{'g', 1}));
}
