// Properties of a whole analysis on a few hundred random records (fixed seed): running maxima
// never fall, pseudo values follow from the displacement, earlier rows ignore later samples,
// and the last row is the whole-record spectrum of a slow Runge-Kutta integration.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/ResultStore.h"
#include "support/EngineFixtures.h"
#include "support/OscillatorOracle.h"
#include "support/Tolerance.h"

namespace {

constexpr double kTwoPi = 6.2831852;  // the system's 2 pi in omega = 2 pi / T
constexpr int kCaseCount = 300;
constexpr int kOracleCases = 60;  // records also checked against the Runge-Kutta oracle
constexpr int kRungeKuttaStepsPerSubStep = 16;

// One random analysis: a record, its grid (s) and damping ratio.
struct RandomCase {
    int index = 0;
    double dt = 0;                                        // s
    std::vector<double> acc;                              // g
    double minPeriod = 0, maxPeriod = 0, periodStep = 0;  // s
    double zeta = 0;

    std::string Describe() const {
        std::ostringstream text;
        text.precision(17);
        text << "case " << index << ": n=" << acc.size() << " dt=" << dt << " grid(" << minPeriod
             << ", " << maxPeriod << ", " << periodStep << ") zeta=" << zeta;
        return text.str();
    }
};

// Samples of one of several shapes: broadband noise, a few sines, sparse pulses, a step
// load, or silence, with a peak of up to a few g.
std::vector<double> RandomSamples(std::mt19937_64& rng, std::size_t n, double dt) {
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    const double peak = std::uniform_real_distribution<double>(0.0, 3.0)(rng);
    std::vector<double> acc(n, 0.0);
    switch (std::uniform_int_distribution<int>(0, 4)(rng)) {
        case 0:
            std::generate(acc.begin(), acc.end(), [&] { return peak * unit(rng); });
            break;
        case 1:
            for (int wave = 0; wave < 3; ++wave) {
                const double period = std::uniform_real_distribution<double>(0.05, 2.0)(rng);
                const double phase = 3.0 * unit(rng);
                for (std::size_t i = 0; i < n; ++i) {
                    acc[i] += peak / 3 * std::sin(kTwoPi * i * dt / period + phase);
                }
            }
            break;
        case 2:
            for (double& a : acc) {
                a = std::uniform_int_distribution<int>(0, 19)(rng) == 0 ? peak * unit(rng) : 0.0;
            }
            break;
        case 3:
            std::fill(acc.begin() + std::uniform_int_distribution<std::size_t>(0, n - 1)(rng),
                      acc.end(), peak);
            break;
        default:
            break;  // silence
    }
    return acc;
}

std::vector<RandomCase> MakeCases() {
    std::mt19937_64 rng(20261209);
    std::vector<RandomCase> cases(kCaseCount);
    for (int i = 0; i < kCaseCount; ++i) {
        RandomCase& c = cases[i];
        c.index = i;
        const auto n = std::uniform_int_distribution<std::size_t>(2, 400)(rng);
        c.dt = std::uniform_real_distribution<double>(0.001, 0.05)(rng);
        c.acc = RandomSamples(rng, n, c.dt);
        // Up to 38 steps, plus the first period and perhaps the maximum: at most 40 periods.
        const int steps = std::uniform_int_distribution<int>(1, 38)(rng);
        c.minPeriod = std::uniform_real_distribution<double>(0.02, 4.9)(rng);
        c.maxPeriod = std::uniform_real_distribution<double>(c.minPeriod + 0.05, 5.0)(rng);
        c.periodStep = (c.maxPeriod - c.minPeriod) / steps;
        c.zeta = std::uniform_real_distribution<double>(0.0, 0.3)(rng);
    }
    return cases;
}

// Analyses record over the case's grid and damping in a fresh store.
std::unique_ptr<ResultStore> Analyse(const RandomCase& c, TimeHistory& record) {
    auto store = std::make_unique<ResultStore>(
        [](const std::string& message) { ADD_FAILURE() << "unexpected message: " << message; });
    store->BuildPeriodGrid(c.minPeriod, c.maxPeriod, c.periodStep);
    store->AnalyseRecord(&record, c.zeta, kGravity);
    return store;
}

std::vector<const History*> Histories(const ResultStore& store) {
    return {&store.sdHistory, &store.svHistory, &store.saHistory, &store.psvHistory,
            &store.psaHistory};
}

// The analyses of all cases, made once for the whole suite.
class RandomRecords : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        cases = MakeCases();
        for (const RandomCase& c : cases) {
            records.push_back(MakeRecord("random.txt", c.dt, c.acc));
            stores.push_back(Analyse(c, *records.back()));
        }
    }
    static void TearDownTestSuite() {
        stores.clear();
        records.clear();
        cases.clear();
    }
    inline static std::vector<RandomCase> cases;
    inline static std::vector<std::unique_ptr<TimeHistory>> records;
    inline static std::vector<std::unique_ptr<ResultStore>> stores;
};

TEST_F(RandomRecords, EveryRowCoversTheGridWithFiniteNonNegativeValues) {
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const RandomCase& c = cases[i];
        const ResultStore& store = *stores[i];
        SCOPED_TRACE(c.Describe());
        ASSERT_GE(store.periodGrid.size(), 1u);
        ASSERT_LE(store.periodGrid.size(), 40u);
        for (const History* history : Histories(store)) {
            ASSERT_EQ(history->size(), c.acc.size() - 1);
            for (const HistoryRow row : *history) {
                ASSERT_EQ(row.size(), store.periodGrid.size());
                for (double value : row) {
                    ASSERT_TRUE(std::isfinite(value) && value >= 0) << value;
                }
            }
        }
    }
}

TEST_F(RandomRecords, RunningMaximaNeverDecreaseFromRowToRow) {
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const ResultStore& store = *stores[i];
        SCOPED_TRACE(cases[i].Describe());
        for (const History* history : Histories(store)) {
            for (std::size_t r = 1; r < history->size(); ++r) {
                for (std::size_t j = 0; j < store.periodGrid.size(); ++j) {
                    ASSERT_GE((*history)[r][j], (*history)[r - 1][j])
                        << "row " << r << " period " << j;
                }
            }
        }
    }
}

// The engine derives both pseudo values from the same running maximum with the same
// expressions, so they agree bit for bit, not merely to a tolerance.
TEST_F(RandomRecords, PseudoValuesFollowFromTheDisplacementExactly) {
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const ResultStore& store = *stores[i];
        SCOPED_TRACE(cases[i].Describe());
        for (std::size_t j = 0; j < store.periodGrid.size(); ++j) {
            const double omega = kTwoPi / store.periodGrid[j];
            for (std::size_t r = 0; r < store.sdHistory.size(); ++r) {
                const double sd = store.sdHistory[r][j];
                ASSERT_EQ(store.psvHistory[r][j], omega * sd) << "row " << r << " period " << j;
                ASSERT_EQ(store.psaHistory[r][j], omega * omega * sd / kGravity)
                    << "row " << r << " period " << j;
            }
        }
    }
}

TEST_F(RandomRecords, EarlierRowsIgnoreSamplesAppendedAfterThem) {
    std::mt19937_64 rng(7);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const RandomCase& c = cases[i];
        const ResultStore& whole = *stores[i];
        SCOPED_TRACE(c.Describe());
        const auto kept = std::uniform_int_distribution<std::size_t>(2, c.acc.size())(rng);
        auto prefix = MakeRecord("prefix.txt", c.dt,
                                 std::vector<double>(c.acc.begin(), c.acc.begin() + kept));
        const auto cut = Analyse(c, *prefix);
        const std::vector<const History*> part = Histories(*cut);
        const std::vector<const History*> full = Histories(whole);
        for (std::size_t q = 0; q < part.size(); ++q) {
            ASSERT_EQ(part[q]->size(), kept - 1);
            for (std::size_t r = 0; r < part[q]->size(); ++r) {
                ASSERT_EQ((*part[q])[r], (*full[q])[r]) << "history " << q << " row " << r;
            }
        }
    }
}

// The fine integration is slow, so it checks the first records at three periods each.
TEST_F(RandomRecords, LastRowIsTheWholeRecordSpectrumOfASlowIntegration) {
    for (int i = 0; i < kOracleCases; ++i) {
        const RandomCase& c = cases[i];
        const ResultStore& store = *stores[i];
        SCOPED_TRACE(c.Describe());
        const std::size_t last = store.periodGrid.size() - 1;
        for (std::size_t j : {std::size_t{0}, last / 2, last}) {
            SCOPED_TRACE("period " + std::to_string(store.periodGrid[j]));
            const SpectrumPoint o =
                OracleWholeRecordSpectrum(c.acc, c.dt, kGravity, ResultStore::kStepRatio, c.zeta,
                                          store.periodGrid[j], kRungeKuttaStepsPerSubStep);
            EXPECT_TRUE(RelativelyNear(store.sdHistory.back()[j], o.sd, 1e-6));
            EXPECT_TRUE(RelativelyNear(store.svHistory.back()[j], o.sv, 1e-6));
            EXPECT_TRUE(RelativelyNear(store.saHistory.back()[j], o.sa, 1e-6));
            EXPECT_TRUE(RelativelyNear(store.psvHistory.back()[j], o.psv, 1e-6));
            EXPECT_TRUE(RelativelyNear(store.psaHistory.back()[j], o.psa, 1e-6));
        }
    }
}

}  // namespace
