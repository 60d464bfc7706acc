// Step coefficients and running spectra of one period.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "engine/KernelChoice.h"
#include "engine/ResultStore.h"
#include "engine/RunningResponse.h"
#include "engine/StepCoefficients.h"
#include "records/Errors.h"
#include "support/EngineFixtures.h"
#include "support/OscillatorOracle.h"
#include "support/Tolerance.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

OscillatorState ExactStep(const StepCoefficients& k, OscillatorState s, double p0, double p1) {
    return {k.a11 * s.x + k.a12 * s.v + k.b11 * p0 + k.b12 * p1,
            k.a21 * s.x + k.a22 * s.v + k.b21 * p0 + k.b22 * p1};
}

struct CoefficientCase {
    double zeta, h, omega;
};

// Damped and undamped, short and long steps, and a negative (growing) damping ratio.
const std::vector<CoefficientCase> kCoefficientCases = {
    {0.05, 0.01, 4 * kPi}, {0.05, 0.0004, 314.159}, {0.2, 0.02, 1.0},   {0.9, 0.005, 50.0},
    {0.0, 0.01, 10.0},     {-0.05, 0.01, 4 * kPi},  {-0.5, 0.002, 80.0}};

TEST(StepCoefficients, WorkedSingleStep) {
    const StepCoefficients k = ComputeStepCoefficients(0.05, 0.01, 4 * kPi);
    const OscillatorState next = ExactStep(k, {0.3, -1.2}, 50, -20);
    EXPECT_TRUE(SameToDigits(next.x, 0.284427, 6));
    EXPECT_TRUE(SameToDigits(next.v, -1.792654, 7));
}

TEST(StepCoefficients, MatchFineNumericalIntegration) {
    for (const CoefficientCase& c : kCoefficientCases) {
        SCOPED_TRACE(::testing::Message()
                     << "zeta " << c.zeta << " h " << c.h << " omega " << c.omega);
        const StepCoefficients k = ComputeStepCoefficients(c.zeta, c.h, c.omega);
        const OscillatorState start{0.3, -1.2};
        const OscillatorState exact = ExactStep(k, start, 50, -20);
        const OscillatorState numeric =
            IntegrateLinearStep(c.zeta, c.omega, c.h, start, 50, -20, 400);
        EXPECT_TRUE(RelativelyNear(exact.x, numeric.x, 1e-9));
        EXPECT_TRUE(RelativelyNear(exact.v, numeric.v, 1e-9));
    }
}

TEST(StepCoefficients, UndampedClosedForms) {
    for (const CoefficientCase& c :
         {CoefficientCase{0, 0.01, 4 * kPi}, CoefficientCase{0, 0.3, 2.5}}) {
        const StepCoefficients k = ComputeStepCoefficients(0, c.h, c.omega);
        const double wh = c.omega * c.h, w2 = c.omega * c.omega;
        EXPECT_TRUE(RelativelyNear(k.a11, std::cos(wh), 1e-14));
        EXPECT_TRUE(RelativelyNear(k.a22, std::cos(wh), 1e-14));
        EXPECT_TRUE(RelativelyNear(k.a12, std::sin(wh) / c.omega, 1e-14));
        EXPECT_TRUE(RelativelyNear(k.a21, -c.omega * std::sin(wh), 1e-14));
        EXPECT_TRUE(RelativelyNear(k.b11, (std::cos(wh) - std::sin(wh) / wh) / w2, 1e-9));
        EXPECT_TRUE(RelativelyNear(k.b12, std::sin(wh) / (w2 * wh) - 1 / w2, 1e-9));
    }
}

// A constant ground acceleration moves an oscillator at rest by (b11 + b12) p and gives
// it the velocity (b21 + b22) p; the static solution fixes both sums.
TEST(StepCoefficients, ExcitationSumsMatchConstantLoad) {
    for (const CoefficientCase& c : kCoefficientCases) {
        SCOPED_TRACE(::testing::Message() << "zeta " << c.zeta << " h " << c.h);
        const StepCoefficients k = ComputeStepCoefficients(c.zeta, c.h, c.omega);
        EXPECT_TRUE(RelativelyNear(k.b11 + k.b12, -(1 - k.a11) / (c.omega * c.omega), 1e-7));
        EXPECT_TRUE(RelativelyNear(k.b21 + k.b22, -k.a12, 1e-7));
    }
}

// The coefficients one by one, as responses over one step of a fine integration: a11, a21
// from x = 1, a12, a22 from v = 1, b11, b21 from p0 = 1 and b12, b22 from p1 = 1. The closed
// forms of the b coefficients cancel for small omega h (in double they lose 7 digits at
// omega h = 0.006); every coefficient must hold 12. The cases straddle omega h = 0.5, where
// the evaluation changes from the power series to the closed forms.
TEST(StepCoefficients, AccurateToTwelveDigitsForSmallAndLargeOmegaH) {
    constexpr double h = 0.005;
    for (double wh : {6e-5, 6e-4, 0.006, 0.06, 0.49, 0.51, 0.9}) {
        for (double zeta : {0.0, 0.05, 0.7, -0.3}) {
            SCOPED_TRACE(::testing::Message() << "omega h " << wh << " zeta " << zeta);
            const double omega = wh / h;
            const StepCoefficients k = ComputeStepCoefficients(zeta, h, omega);
            const auto step = [&](OscillatorState s, double p0, double p1) {
                return IntegrateLinearStep(zeta, omega, h, s, p0, p1, 2000);
            };
            const OscillatorState fromX = step({1, 0}, 0, 0), fromV = step({0, 1}, 0, 0);
            const OscillatorState fromP0 = step({0, 0}, 1, 0), fromP1 = step({0, 0}, 0, 1);
            EXPECT_TRUE(RelativelyNear(k.a11, fromX.x, 1e-12));
            EXPECT_TRUE(RelativelyNear(k.a21, fromX.v, 1e-12));
            EXPECT_TRUE(RelativelyNear(k.a12, fromV.x, 1e-12));
            EXPECT_TRUE(RelativelyNear(k.a22, fromV.v, 1e-12));
            EXPECT_TRUE(RelativelyNear(k.b11, fromP0.x, 1e-12));
            EXPECT_TRUE(RelativelyNear(k.b21, fromP0.v, 1e-12));
            EXPECT_TRUE(RelativelyNear(k.b12, fromP1.x, 1e-12));
            EXPECT_TRUE(RelativelyNear(k.b22, fromP1.v, 1e-12));
        }
    }
}

// Row 0 of a record sampled at 0.005 s over long periods (omega h about 0.006): the values
// of the first record step from rest, which cancellation in the coefficients once spoiled
// in the ninth digit.
TEST(RunningSpectra, FirstRowOfLongPeriodsIsExactToTwelveDigits) {
    const std::vector<double> acc = SyntheticAccelerogram(200, 0.005, 0.4);
    auto record = MakeRecord("quake", 0.005, acc);
    ResultStore store;
    store.BuildPeriodGrid(4.8, 6, 0.02);
    ASSERT_TRUE(store.AnalyseRecord(record.get(), 0.05, kGravity));
    for (std::size_t j = 0; j < store.periodGrid.size(); ++j) {
        const double T = store.periodGrid[j], omega = 6.2831852 / T;
        SCOPED_TRACE(T);
        ASSERT_EQ(SubStepCount(0.005, T, kStepRatio), 1);
        const OscillatorState s = IntegrateLinearStep(0.05, omega, 0.005, {0, 0}, kGravity * acc[0],
                                                      kGravity * acc[1], 200);
        const double sd = std::fabs(s.x);
        EXPECT_TRUE(RelativelyNear(store.sdHistory[0][j], sd, 1e-12));
        EXPECT_TRUE(RelativelyNear(store.svHistory[0][j], std::fabs(s.v), 1e-12));
        EXPECT_TRUE(RelativelyNear(
            store.saHistory[0][j],
            std::fabs(2 * 0.05 * omega * s.v + omega * omega * s.x) / kGravity, 1e-12));
        EXPECT_TRUE(RelativelyNear(store.psvHistory[0][j], omega * sd, 1e-12));
        EXPECT_TRUE(RelativelyNear(store.psaHistory[0][j], omega * omega * sd / kGravity, 1e-12));
    }
}

TEST(SubSteps, CountsFollowTheStepBound) {
    struct Case {
        double dt, T;
        int expected;
    };
    for (const Case& c : {Case{0.01, 1, 1}, Case{0.01, 0.5, 2}, Case{0.01, 0.25, 3},
                          Case{0.005, 0.02, 13}, Case{0.01, 100, 1}}) {
        EXPECT_EQ(SubStepCount(c.dt, c.T, kStepRatio), c.expected) << "T " << c.T;
        EXPECT_LT(c.dt / c.expected, kStepRatio * c.T);
    }
}

TEST(SubSteps, CountOutsideIntRangeIsRefused) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THROW(SubStepCount(1e10, 1e-3, kStepRatio), InvalidOperationError);
    EXPECT_THROW(SubStepCount(0.01, nan, kStepRatio), InvalidOperationError);
    EXPECT_THROW(SubStepCount(nan, 1, kStepRatio), InvalidOperationError);
    EXPECT_THROW(SubStepCount(-1e10, 1e-3, kStepRatio), InvalidOperationError);
}

TEST(RunningSpectra, WorkedRecordOneSubStep) {
    auto record = MakeRecord("step", 0.01, {0, 1});
    SpectrumRows rows(1);
    ASSERT_TRUE(RunEngine(*record, 0.05, 1.0, rows));
    EXPECT_TRUE(SameToDigits(rows.sd[0].at(0), 0.0163045, 6));
    EXPECT_TRUE(SameToDigits(rows.sv[0].at(0), 4.88815, 6));
    EXPECT_TRUE(SameToDigits(rows.sa[0].at(0), 0.00379080, 6));
    EXPECT_TRUE(SameToDigits(rows.psv[0].at(0), 0.102444, 6));
    EXPECT_TRUE(SameToDigits(rows.psa[0].at(0), 0.000656812, 6));
}

TEST(RunningSpectra, WorkedRecordTwoSubSteps) {
    auto record = MakeRecord("pulse", 0.01, {0, 1, 0});
    SpectrumRows rows(2);
    ASSERT_TRUE(RunEngine(*record, 0.05, 0.5, rows));
    const double expected[2][5] = {{0.0162693, 4.87313, 0.00887030, 0.204446, 0.00262158},
                                   {0.0969025, 9.58865, 0.0279099, 1.21771, 0.0156145}};
    for (int r = 0; r < 2; ++r) {
        SCOPED_TRACE(r);
        EXPECT_TRUE(SameToDigits(rows.sd[r].at(0), expected[r][0], 6));
        EXPECT_TRUE(SameToDigits(rows.sv[r].at(0), expected[r][1], 6));
        EXPECT_TRUE(SameToDigits(rows.sa[r].at(0), expected[r][2], 6));
        EXPECT_TRUE(SameToDigits(rows.psv[r].at(0), expected[r][3], 6));
        EXPECT_TRUE(SameToDigits(rows.psa[r].at(0), expected[r][4], 6));
    }
}

TEST(RunningSpectra, DegenerateRecords) {
    SpectrumRows rows(3);
    EXPECT_FALSE(RunEngine(*MakeRecord("empty", 0.01, {}), 0.05, 1, rows));
    EXPECT_TRUE(RunEngine(*MakeRecord("one", 0.01, {0.3}), 0.05, 1, rows));
    for (const HistoryRow row : rows.sd) {
        EXPECT_TRUE(row.empty());
    }
    EXPECT_TRUE(RunEngine(*MakeRecord("two", 0.01, {0.3, -0.2}), 0.05, 1, rows));
    EXPECT_EQ(rows.sd[0].size(), 1u);
    EXPECT_EQ(rows.psa[0].size(), 1u);
    EXPECT_TRUE(rows.sd[1].empty()) << "only row 0 belongs to a two-sample record";
}

TEST(RunningSpectra, AllZeroRecordGivesZeros) {
    auto record = MakeRecord("quiet", 0.01, std::vector<double>(50, 0.0));
    SpectrumRows rows(49);
    ASSERT_TRUE(RunEngine(*record, 0.05, 0.1, rows));
    for (const History* h : {&rows.sd, &rows.sv, &rows.sa, &rows.psv, &rows.psa}) {
        for (const HistoryRow row : *h) {
            ASSERT_EQ(row, DOUBLEVECTOR{0.0});
        }
    }
}

TEST(RunningSpectra, RowsNeverDecreaseAndPseudoValuesFollowDisplacement) {
    auto record = MakeRecord("quake", 0.01, SyntheticAccelerogram(600, 0.01, 0.4));
    for (double T : {0.03, 0.25, 0.5, 2.0}) {
        SCOPED_TRACE(T);
        SpectrumRows rows(599);
        ASSERT_TRUE(RunEngine(*record, 0.05, T, rows));
        const double omega = 6.2831852 / T;
        for (std::size_t r = 0; r < rows.sd.size(); ++r) {
            ASSERT_EQ(rows.sd[r].size(), 1u);
            EXPECT_EQ(rows.psv[r][0], omega * rows.sd[r][0]);
            EXPECT_EQ(rows.psa[r][0], omega * omega * rows.sd[r][0] / kGravity);
            if (r > 0) {
                for (const History* h : {&rows.sd, &rows.sv, &rows.sa}) {
                    ASSERT_GE((*h)[r][0], (*h)[r - 1][0]) << "row " << r;
                }
            }
        }
        EXPECT_GT(rows.sd.back()[0], 0.0);
    }
}

TEST(RunningSpectra, ExtendingARecordLeavesEarlierRowsUnchanged) {
    const std::vector<double> acc = SyntheticAccelerogram(400, 0.01, 0.3);
    auto shortRecord =
        MakeRecord("short", 0.01, std::vector<double>(acc.begin(), acc.begin() + 250));
    auto longRecord = MakeRecord("long", 0.01, acc);
    SpectrumRows shortRows(249), longRows(399);
    ASSERT_TRUE(RunEngine(*shortRecord, 0.05, 0.2, shortRows));
    ASSERT_TRUE(RunEngine(*longRecord, 0.05, 0.2, longRows));
    for (std::size_t r = 0; r < 249; ++r) {
        ASSERT_EQ(shortRows.sd[r], longRows.sd[r]);
        ASSERT_EQ(shortRows.sv[r], longRows.sv[r]);
        ASSERT_EQ(shortRows.sa[r], longRows.sa[r]);
    }
}

// Every kernel of the fast path must give exactly the bits of the reference recurrence,
// also for a grid of one period (one lane used, the others padding).
TEST(RunningSpectra, BitForBitTheStepwiseRecurrence) {
    auto record = MakeRecord("quake", 0.005, SyntheticAccelerogram(500, 0.005, 0.5));
    for (Kernel kernel : SupportedKernels()) {
        for (double zeta : {0.0, 0.05, -0.3, 0.7}) {
            for (double T : {0.02, 0.07, 0.25, 0.3, 1.5, 6.0}) {
                SCOPED_TRACE(::testing::Message()
                             << ChooseKernel(kernel).name << " zeta " << zeta << " T " << T);
                ResultStore fast;
                fast.fastPath.kernel = kernel;
                fast.periodGrid = {T};
                fast.frequencyGrid = {1 / T};
                ASSERT_TRUE(fast.AnalyseRecord(record.get(), zeta, kGravity));
                SpectrumRows reference(499);
                ASSERT_TRUE(RunEngine(*record, zeta, T, reference));
                EXPECT_EQ(fast.sdHistory, reference.sd);
                EXPECT_EQ(fast.svHistory, reference.sv);
                EXPECT_EQ(fast.saHistory, reference.sa);
                EXPECT_EQ(fast.psvHistory, reference.psv);
                EXPECT_EQ(fast.psaHistory, reference.psa);
            }
        }
    }
}

TEST(RunningSpectra, WholeRecordSpectrumMatchesRungeKuttaOracle) {
    const std::vector<double> acc = SyntheticAccelerogram(200, 0.01, 0.3);
    auto record = MakeRecord("quake", 0.01, acc);
    for (double zeta : {0.0, 0.05, 0.2}) {
        for (double T : {0.1, 0.45, 1.7}) {
            SCOPED_TRACE(::testing::Message() << "zeta " << zeta << " T " << T);
            SpectrumRows rows(199);
            ASSERT_TRUE(RunEngine(*record, zeta, T, rows));
            const SpectrumPoint o =
                OracleWholeRecordSpectrum(acc, 0.01, kGravity, kStepRatio, zeta, T, 200);
            EXPECT_TRUE(RelativelyNear(rows.sd.back()[0], o.sd, 1e-6));
            EXPECT_TRUE(RelativelyNear(rows.sv.back()[0], o.sv, 1e-6));
            EXPECT_TRUE(RelativelyNear(rows.sa.back()[0], o.sa, 1e-6));
            EXPECT_TRUE(RelativelyNear(rows.psv.back()[0], o.psv, 1e-6));
            EXPECT_TRUE(RelativelyNear(rows.psa.back()[0], o.psa, 1e-6));
        }
    }
}

// Inputs outside the formulas' domain raise the arithmetic error where it arises instead
// of storing infinities, not-a-numbers or silent zeros.
TEST(RunningSpectra, ArithmeticFaultsAreRaised) {
    auto record = MakeRecord("r", 0.01, {0, 0.5, -0.2});
    auto zeroStep = MakeRecord("z", 0.0, {0, 0.5, -0.2});
    SpectrumRows rows(2);
    EXPECT_THROW(RunEngine(*record, 0.05, 0.0, rows), DivisionByZeroError);
    EXPECT_THROW(RunEngine(*zeroStep, 0.05, 1.0, rows), DivisionByZeroError);
    EXPECT_THROW(RunEngine(*record, 1.0, 1.0, rows), InvalidOperationError);
    EXPECT_THROW(RunEngine(*record, 1.5, 1.0, rows), InvalidOperationError);
    EXPECT_THROW(RunEngine(*record, 0.05, std::nan(""), rows), InvalidOperationError);
    for (const HistoryRow row : rows.sd) {
        EXPECT_TRUE(row.empty());
    }
}

TEST(RunningSpectra, NonFiniteResponseIsRaisedBeforeAnythingIsAppended) {
    auto huge = MakeRecord("huge", 0.01, {0, 1e306, 0});
    auto nan = MakeRecord("nan", 0.01, {0, std::nan(""), 0});
    SpectrumRows rows(2);
    try {
        RunEngine(*huge, 0.05, 1.0, rows);
        FAIL() << "no error";
    } catch (const OverflowError& e) {
        EXPECT_STREQ(e.what(), "Floating point overflow");
    }
    EXPECT_THROW(RunEngine(*nan, 0.05, 1.0, rows), InvalidOperationError);
    for (const History* h : {&rows.sd, &rows.sv, &rows.sa, &rows.psv, &rows.psa}) {
        EXPECT_TRUE((*h)[0].empty());
        EXPECT_TRUE((*h)[1].empty());
    }
}

}  // namespace
