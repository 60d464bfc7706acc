// One oscillator's response history: the store's running maxima and pseudo values follow
// from it bit for bit, the displacement follows the physics, the peaks and their instants
// are where the history says, and degenerate records give empty or resting histories.
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/OscillatorHistory.h"
#include "engine/ResultStore.h"
#include "records/Errors.h"
#include "support/EngineFixtures.h"
#include "support/OscillatorOracle.h"
#include "support/Tolerance.h"

namespace {

constexpr double kDtS = 0.01;
constexpr double kZeta = 0.05;

OscillatorHistory HistoryOf(const TimeHistory& record, double T, double zeta = kZeta) {
    return ComputeOscillatorHistory(record, kGravity, kStepRatio, zeta, T);
}

// The store of one run over record with the grid minT .. maxT by stepT.
struct AnalysedStore {
    AnalysedStore(TimeHistory& record, double minT, double maxT, double stepT, double zeta) {
        store.BuildPeriodGrid(minT, maxT, stepT);
        store.AnalyseRecord(&record, zeta, kGravity);
    }
    ResultStore store;
};

}  // namespace

// The inspector shows the largest |x| up to each instant; it must be the store's value
// exactly, for periods with one sub-step and with many, and the pseudo values must come
// from it by the store's own arithmetic.
TEST(OscillatorHistory, RunningMaximumIsTheStoresDisplacementHistoryBitForBit) {
    auto record = MakeRecord("quake", kDtS, SyntheticAccelerogram(1500, kDtS, 0.35));
    AnalysedStore run(*record, 0.02, 3.0, 0.07, 0.03);
    const ResultStore& store = run.store;
    ASSERT_EQ(store.sdHistory.size(), 1499u);
    for (std::size_t p = 0; p < store.periodGrid.size(); ++p) {
        SCOPED_TRACE(p);
        const OscillatorHistory history = HistoryOf(*record, store.periodGrid[p], 0.03);
        ASSERT_EQ(history.maxDisplacementCm, PeriodColumn(store.sdHistory, p));
        const double omega = history.plan.omega;
        for (std::size_t r = 0; r < store.sdHistory.size(); ++r) {
            const double maxD = history.maxDisplacementCm[r];
            ASSERT_EQ(store.psvHistory[r][p], omega * maxD);
            ASSERT_EQ(store.psaHistory[r][p], omega * omega * maxD / kGravity);
        }
    }
}

TEST(OscillatorHistory, PeaksAreTheWholeRecordSpectrumAndSitWhereTheyWereFirstReached) {
    auto record = MakeRecord("quake", kDtS, SyntheticAccelerogram(900, kDtS, 0.3));
    AnalysedStore run(*record, 0.1, 2.0, 0.3, kZeta);
    const ResultStore& store = run.store;
    for (std::size_t p = 0; p < store.periodGrid.size(); ++p) {
        SCOPED_TRACE(p);
        const OscillatorHistory history = HistoryOf(*record, store.periodGrid[p]);
        EXPECT_EQ(history.displacement.value, store.sdHistory.back()[p]);
        EXPECT_EQ(history.velocity.value, store.svHistory.back()[p]);
        EXPECT_EQ(history.acceleration.value, store.saHistory.back()[p]);

        // The displacement peak is a point of the curve, and no earlier point reaches it.
        const std::size_t at = static_cast<std::size_t>(
            std::lround(history.displacement.timeS / history.plan.subStep));
        ASSERT_LT(at, history.displacementCm.size());
        EXPECT_EQ(history.PointTime(at), history.displacement.timeS);
        EXPECT_EQ(std::fabs(history.displacementCm[at]), history.displacement.value);
        for (std::size_t i = 0; i < at; ++i) {
            ASSERT_LT(std::fabs(history.displacementCm[i]), history.displacement.value);
        }
        // The running maximum reaches the peak in the record step that holds its instant.
        const std::size_t step = (at - 1) / static_cast<std::size_t>(history.plan.subSteps);
        EXPECT_EQ(history.maxDisplacementCm[step], history.displacement.value);
        if (step > 0) {
            EXPECT_LT(history.maxDisplacementCm[step - 1], history.displacement.value);
        }
    }
}

TEST(OscillatorHistory, DisplacementFollowsAFineNumericalIntegration) {
    const std::vector<double> acc = SyntheticAccelerogram(300, 0.02, 0.25);
    auto record = MakeRecord("quake", 0.02, acc);
    for (double T : {0.05, 0.4, 1.7}) {
        SCOPED_TRACE(T);
        const OscillatorHistory history = HistoryOf(*record, T);
        const PeriodPlan& plan = history.plan;
        ASSERT_EQ(history.displacementCm.size(),
                  (acc.size() - 1) * static_cast<std::size_t>(plan.subSteps) + 1);
        OscillatorState state{0.0, 0.0};
        std::size_t i = 0;
        EXPECT_EQ(history.displacementCm[i++], 0.0);
        double largest = 0.0;
        for (std::size_t j = 1; j < acc.size(); ++j) {
            const double delta = (acc[j] - acc[j - 1]) * kGravity / plan.subSteps;
            for (int n = 1; n <= plan.subSteps; ++n) {
                const double p0 = kGravity * acc[j - 1] + (n - 1) * delta;
                state =
                    IntegrateLinearStep(kZeta, plan.omega, plan.subStep, state, p0, p0 + delta, 40);
                largest = std::max(largest, std::fabs(state.x));
                ASSERT_NEAR(history.displacementCm[i++], state.x, 1e-7 * largest + 1e-12);
            }
        }
        EXPECT_DOUBLE_EQ(history.PointTime(history.displacementCm.size() - 1), record->Duration());
    }
}

TEST(OscillatorHistory, DegenerateRecords) {
    // No samples: nothing to show. One sample: the oscillator at rest at 0 s.
    const OscillatorHistory none = HistoryOf(*MakeRecord("none", kDtS, {}), 1.0);
    EXPECT_TRUE(none.displacementCm.empty());
    EXPECT_TRUE(none.maxDisplacementCm.empty());
    const OscillatorHistory one = HistoryOf(*MakeRecord("one", kDtS, {0.3}), 1.0);
    EXPECT_EQ(one.displacementCm, std::vector<double>{0.0});
    EXPECT_TRUE(one.maxDisplacementCm.empty());

    // A record at rest never moves the oscillator: every peak stays 0 at 0 s.
    const OscillatorHistory rest = HistoryOf(*MakeRecord("rest", kDtS, {0, 0, 0, 0}), 0.5);
    EXPECT_EQ(rest.maxDisplacementCm, std::vector<double>(3, 0.0));
    for (const ResponsePeak& peak : {rest.displacement, rest.velocity, rest.acceleration}) {
        EXPECT_EQ(peak.value, 0.0);
        EXPECT_EQ(peak.timeS, 0.0);
    }
}

// The window sizes its memory guard by this count: it must be the points really kept, for
// short periods with many sub-steps as for long ones, and saturate instead of wrapping.
TEST(OscillatorHistory, PointCountIsThePointsKept) {
    const auto record = MakeRecord("five", kDtS, {0.1, -0.2, 0.3, 0.0, 0.1});
    for (const double T : {0.02, 0.1, 1.0}) {
        EXPECT_EQ(OscillatorPointCount(record->Count(), kDtS, T, kStepRatio),
                  HistoryOf(*record, T).displacementCm.size())
            << "T = " << T;
    }
    EXPECT_EQ(OscillatorPointCount(0, kDtS, 1.0, kStepRatio), 0u);
    EXPECT_EQ(OscillatorPointCount(SIZE_MAX, kDtS, 0.02, kStepRatio), SIZE_MAX);
}

TEST(OscillatorHistory, RefusesWhatTheRunRefuses) {
    auto record = MakeRecord("quake", kDtS, {0.0, 0.1, -0.1});
    EXPECT_THROW(HistoryOf(*record, 0.0), DivisionByZeroError);
    auto huge = MakeRecord("huge", kDtS, {0.0, 1e306, -1e306});
    EXPECT_THROW(HistoryOf(*huge, 1.0), OverflowError);
    auto notANumber = MakeRecord("nan", kDtS, {0.0, std::nan(""), 0.0});
    EXPECT_THROW(HistoryOf(*notANumber, 1.0), InvalidOperationError);
}

TEST(OscillatorHistory, PeriodColumnStopsAtShortRows) {
    History history(3);
    history.AppendColumn(std::vector<double>{1, 2, 3});
    history.AppendColumn(std::vector<double>{4, 5});
    EXPECT_EQ(PeriodColumn(history, 0), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(PeriodColumn(history, 1), (std::vector<double>{4, 5}));
    EXPECT_TRUE(PeriodColumn(history, 2).empty());
}
