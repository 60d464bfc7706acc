// Result store: period grid, analysis of one record and its refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "engine/ResultStore.h"
#include "records/Errors.h"
#include "support/EngineFixtures.h"

namespace {

std::string G15(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

std::vector<std::string> GridTexts(const ResultStore& store) {
    std::vector<std::string> texts;
    for (double T : store.periodGrid) {
        texts.push_back(G15(T));
    }
    return texts;
}

// A store that records the messages it would show.
struct StoreFixture : ::testing::Test {
    std::vector<std::string> messages;
    ResultStore store{[this](const std::string& m) { messages.push_back(m); }};
};

template <typename Error, typename Action>
std::string MessageOf(Action action) {
    try {
        action();
    } catch (const Error& e) {
        return e.what();
    }
    return "(no error)";
}

// Everything a refused call must leave as it was.
struct Snapshot {
    explicit Snapshot(const ResultStore& s)
        : record(s.currentRecord),
          periods(s.periodGrid),
          frequencies(s.frequencyGrid),
          sd(s.sdHistory),
          psa(s.psaHistory) {}
    bool operator==(const Snapshot&) const = default;
    const TimeHistory* record;
    DOUBLEVECTOR periods, frequencies;
    History sd, psa;
};

TEST_F(StoreFixture, DefaultGrid) {
    store.BuildPeriodGrid(0.02, 6, 0.02);
    ASSERT_EQ(store.periodGrid.size(), 300u);
    EXPECT_EQ(store.periodGrid.front(), 0.02);
    EXPECT_EQ(G15(store.periodGrid.back()), "5.99999999999996");
    ASSERT_EQ(store.frequencyGrid.size(), 300u);
    for (std::size_t j = 0; j < 300; ++j) {
        EXPECT_EQ(store.frequencyGrid[j], 1 / store.periodGrid[j]);
    }
}

TEST_F(StoreFixture, GridAppendsTheMaximumOnlyWhenMoreThanTenPercentShort) {
    store.BuildPeriodGrid(0.02, 6, 1);
    EXPECT_EQ(GridTexts(store),
              (std::vector<std::string>{"0.02", "1.02", "2.02", "3.02", "4.02", "5.02", "6"}));
    store.BuildPeriodGrid(0.02, 6, 0.5);
    EXPECT_EQ(store.periodGrid.size(), 12u);
    EXPECT_EQ(G15(store.periodGrid.back()), "5.52");
}

TEST_F(StoreFixture, NegativeMinimumStartsAtTwoHundredths) {
    for (double step : {0.02, 1.0}) {
        store.BuildPeriodGrid(-3, 6, step);
        EXPECT_EQ(store.periodGrid.front(), 0.02);
        EXPECT_EQ(store.periodGrid[1], 0.02 + step);
    }
}

TEST_F(StoreFixture, EmptyGridAnalysesNothing) {
    auto record = MakeRecord("r", 0.01, {0, 0.1, 0.2});
    for (double min : {6.0, 7.0}) {
        store.BuildPeriodGrid(min, 6, 0.02);
        EXPECT_TRUE(store.periodGrid.empty());
        EXPECT_TRUE(store.frequencyGrid.empty());
        store.ClearResults();
        store.AnalyseRecord(record.get(), 0.05, kGravity);
        EXPECT_EQ(store.currentRecord, record.get());
        ASSERT_EQ(store.sdHistory.size(), 2u);
        EXPECT_TRUE(store.sdHistory[0].empty());
        EXPECT_TRUE(store.psaHistory[1].empty());
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(StoreFixture, RefusedGridsLeaveTheGridsUnchanged) {
    store.BuildPeriodGrid(0.02, 6, 0.02);
    const Snapshot before(store);
    struct Case {
        double min, max, step;
        std::string message;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const Case& c :
         {Case{0.02, 6, -0.02, "Period Step must be greater than 0 (it is -0.02)"},
          Case{0.02, 6, 0, "Period Step must be greater than 0 (it is 0)"},
          Case{0.02, 6, nan, "Period Step must be greater than 0 (it is NAN)"},
          Case{0.02, 1e300, 0.02,
               "Minimum Period 0.02, Maximum Period 1e+300 and Period Step 0.02 give about "
               "5e+301 periods; at most 100000 are allowed"},
          Case{1, 100002, 1,
               "Minimum Period 1, Maximum Period 100002 and Period Step 1 give about 100001 "
               "periods; at most 100000 are allowed"},
          // A step too small to change the period: the count is bounded while building.
          Case{1, 1 + 2.3e-16, 1e-20,
               "Minimum Period 1, Maximum Period 1 and Period Step 1e-20 give more than "
               "100000 periods; at most 100000 are allowed"}}) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(MessageOf<ParameterError>([&] { store.BuildPeriodGrid(c.min, c.max, c.step); }),
                  c.message);
        EXPECT_TRUE(Snapshot(store) == before);
    }
}

TEST_F(StoreFixture, GridOfExactlyTheLimitIsAccepted) {
    store.BuildPeriodGrid(1, 100001, 1);
    EXPECT_EQ(store.periodGrid.size(), ResultStore::kMaxPeriods);
}

TEST_F(StoreFixture, PeriodZeroDividesByZero) {
    store.BuildPeriodGrid(0.02, 6, 0.02);
    const Snapshot before(store);
    EXPECT_EQ(MessageOf<DivisionByZeroError>([&] { store.BuildPeriodGrid(0, 6, 0.02); }),
              "Floating point division by zero");
    EXPECT_TRUE(Snapshot(store) == before);
}

TEST_F(StoreFixture, AnalysisFillsOneRowPerInstantAndOneValuePerPeriod) {
    auto record = MakeRecord("quake", 0.01, SyntheticAccelerogram(120, 0.01, 0.3));
    store.BuildPeriodGrid(0.02, 2, 0.1);
    // A second run after clearing gives the same store; a third run without clearing
    // must not append to the rows of the second.
    for (int run = 0; run < 3; ++run) {
        if (run < 2) {
            store.ClearResults();
        }
        store.AnalyseRecord(record.get(), 0.05, kGravity);
        for (const History* h : {&store.sdHistory, &store.svHistory, &store.saHistory,
                                 &store.psvHistory, &store.psaHistory}) {
            ASSERT_EQ(h->size(), 119u);
            for (const HistoryRow row : *h) {
                ASSERT_EQ(row.size(), store.periodGrid.size());
            }
        }
    }
    EXPECT_EQ(store.currentRecord, record.get());
    EXPECT_TRUE(messages.empty());
}

TEST_F(StoreFixture, RowCountsOfShortRecords) {
    store.BuildPeriodGrid(0.02, 6, 0.02);
    auto one = MakeRecord("one", 0.01, {0.2});
    auto two = MakeRecord("two", 0.01, {0.2, 0.1});
    store.AnalyseRecord(one.get(), 0.05, kGravity);
    EXPECT_TRUE(store.sdHistory.empty());
    store.ClearResults();
    store.AnalyseRecord(two.get(), 0.05, kGravity);
    ASSERT_EQ(store.saHistory.size(), 1u);
    EXPECT_EQ(store.saHistory[0].size(), 300u);
    EXPECT_TRUE(messages.empty());
}

// Whatever order the analysis computes in, its store is the one the engine builds when
// called period after period, bit for bit.
void ExpectStoreEqualsEngineCalls(const ResultStore& store, const TimeHistory& record,
                                  double zeta) {
    SpectrumRows expected(record.Count() - 1);
    for (double T : store.periodGrid) {
        ASSERT_TRUE(RunEngine(record, zeta, T, expected));
    }
    EXPECT_EQ(store.sdHistory, expected.sd);
    EXPECT_EQ(store.svHistory, expected.sv);
    EXPECT_EQ(store.saHistory, expected.sa);
    EXPECT_EQ(store.psvHistory, expected.psv);
    EXPECT_EQ(store.psaHistory, expected.psa);
}

TEST_F(StoreFixture, AnalysisEqualsOneEngineCallPerPeriod) {
    auto record = MakeRecord("quake", 0.005, SyntheticAccelerogram(700, 0.005, 0.5));
    store.BuildPeriodGrid(0.02, 1.5, 0.013);  // sub-step counts 13 down to 1, odd grid size
    for (double zeta : {0.05, -0.2, 0.0}) {
        SCOPED_TRACE(zeta);
        store.ClearResults();
        store.AnalyseRecord(record.get(), zeta, kGravity);
        ExpectStoreEqualsEngineCalls(store, *record, zeta);
    }
}

TEST_F(StoreFixture, LargeGridEqualsOneEngineCallPerPeriod) {
    auto record = MakeRecord("short", 0.01, SyntheticAccelerogram(40, 0.01, 0.5));
    store.BuildPeriodGrid(0.001, 6, 0.002);  // about 3000 periods, several blocks
    store.AnalyseRecord(record.get(), 0.05, kGravity);
    ExpectStoreEqualsEngineCalls(store, *record, 0.05);
}

TEST_F(StoreFixture, NegativeDampingAboveMinusOneComputes) {
    auto record = MakeRecord("quake", 0.01, SyntheticAccelerogram(300, 0.01, 0.3));
    store.BuildPeriodGrid(0.5, 0.6, 1);
    store.AnalyseRecord(record.get(), 0.05, kGravity);
    const double damped = store.sdHistory.back()[0];
    store.ClearResults();
    store.AnalyseRecord(record.get(), -0.05, kGravity);
    EXPECT_GT(store.sdHistory.back()[0], damped);
    EXPECT_TRUE(std::isfinite(store.sdHistory.back()[0]));
}

TEST_F(StoreFixture, RefusedAnalysesChangeNothing) {
    auto earlier = MakeRecord("earlier", 0.01, {0, 0.1, 0.3});
    auto record = MakeRecord("quake.txt", 0.01, SyntheticAccelerogram(11, 0.01, 0.3));
    auto still = MakeRecord("still.txt", 0.0, {0, 0.1});
    auto backwards = MakeRecord("back.txt", -0.01, {0, 0.1});
    store.BuildPeriodGrid(0.02, 6, 0.02);
    store.AnalyseRecord(earlier.get(), 0.05, kGravity);
    const Snapshot before(store);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        TimeHistory* record;
        double zeta;
        std::string message;
    };
    for (const Case& c :
         {Case{record.get(), 1, "Damping Ratio must be between -1 and 1 (it is 1)"},
          Case{record.get(), -1, "Damping Ratio must be between -1 and 1 (it is -1)"},
          Case{record.get(), 1.5, "Damping Ratio must be between -1 and 1 (it is 1.5)"},
          Case{record.get(), nan, "Damping Ratio must be between -1 and 1 (it is NAN)"},
          Case{still.get(), 0.05,
               "Time step of record 'still.txt' must be greater than 0 (it is 0)"},
          Case{backwards.get(), 0.05,
               "Time step of record 'back.txt' must be greater than 0 (it is -0.01)"}}) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(
            MessageOf<ParameterError>([&] { store.AnalyseRecord(c.record, c.zeta, kGravity); }),
            c.message);
        EXPECT_TRUE(Snapshot(store) == before);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(StoreFixture, StoreOverTheLimitIsRefusedBeforeAllocating) {
    auto earlier = MakeRecord("earlier", 0.01, {0, 0.1, 0.3});
    auto record = MakeRecord("quake.txt", 0.01, SyntheticAccelerogram(11, 0.01, 0.3));
    store.BuildPeriodGrid(0.02, 6, 0.02);
    store.AnalyseRecord(earlier.get(), 0.05, kGravity);
    const Snapshot before(store);

    const std::size_t needed = ResultStore::StoreBytes(11, 300);
    EXPECT_EQ(needed, 5u * 10 * 304 * 8);  // 300 periods, rows padded to whole 64-byte lines
    store.storeLimitBytes = needed - 1;
    EXPECT_EQ(MessageOf<ParameterError>([&] { store.AnalyseRecord(record.get(), 0.05, kGravity); }),
              "The results of record 'quake.txt' need 121600 bytes of memory, more than the "
              "limit of 121599 bytes");
    EXPECT_TRUE(Snapshot(store) == before);

    store.storeLimitBytes = needed;
    store.AnalyseRecord(record.get(), 0.05, kGravity);
    EXPECT_EQ(store.sdHistory.size(), 10u);
}

// The guard counts the block as mapped: rows of 64 periods or more take whole 64-byte lines.
TEST(StoreSize, CountsTheBlockAndSaturatesInsteadOfOverflowing) {
    EXPECT_EQ(ResultStore::StoreBytes(8000, 300), 5u * 7999 * 304 * 8);
    EXPECT_EQ(ResultStore::StoreBytes(8000, 63), 5u * 7999 * 63 * 8);
    EXPECT_EQ(ResultStore::StoreBytes(8000, 64), 5u * 7999 * 64 * 8);
    EXPECT_EQ(ResultStore::StoreBytes(8000, 65), 5u * 7999 * 72 * 8);
    EXPECT_EQ(ResultStore::StoreBytes(1, 300), 0u);
    EXPECT_EQ(ResultStore::StoreBytes(0, 300), 0u);
    const std::size_t max = std::numeric_limits<std::size_t>::max();
    EXPECT_EQ(ResultStore::StoreBytes(max, 100000), max);
    EXPECT_EQ(ResultStore::StoreBytes(max / 40 + 2, 1), max);
}

TEST(StoreSize, DefaultLimitIsHalfThePhysicalMemory) {
    const ResultStore store;
    EXPECT_EQ(store.storeLimitBytes, ResultStore::DefaultStoreLimitBytes());
    EXPECT_GT(store.storeLimitBytes, std::size_t{64} << 20);  // any machine that runs us
}

// An input acceleration beyond the range of doubles once multiplied by gravity.
TEST_F(StoreFixture, AbsurdAccelerationOverflows) {
    auto record = MakeRecord("absurd", 0.01, {0, 1e306, 0});
    store.BuildPeriodGrid(0.02, 6, 0.02);
    EXPECT_EQ(MessageOf<OverflowError>([&] { store.AnalyseRecord(record.get(), 0.05, kGravity); }),
              "Floating point overflow");
    EXPECT_TRUE(store.sdHistory[0].empty());
}

// A huge slow sine: short periods follow it statically, long ones resonate past the range
// of doubles. The periods computed before the fault stay, every row with the same count,
// and nothing infinite is stored.
TEST_F(StoreFixture, OverflowInTheResponseKeepsTheCompletedPeriods) {
    std::vector<double> acc(600);
    for (std::size_t i = 0; i < acc.size(); ++i) {
        acc[i] = 5e304 * std::sin(2 * 3.14159265358979 * static_cast<double>(i) * 0.05 / 6);
    }
    auto record = MakeRecord("resonant", 0.05, acc);
    store.BuildPeriodGrid(0.02, 6, 0.02);
    EXPECT_EQ(MessageOf<OverflowError>([&] { store.AnalyseRecord(record.get(), 0.05, kGravity); }),
              "Floating point overflow");
    const std::size_t completed = store.sdHistory[0].size();
    EXPECT_GT(completed, 0u);
    EXPECT_LT(completed, 300u);
    // They are the values of the engine called period after period, and the next period
    // is the one that overflows.
    SpectrumRows expected(599);
    for (std::size_t j = 0; j < completed; ++j) {
        ASSERT_TRUE(RunEngine(*record, 0.05, store.periodGrid[j], expected));
    }
    EXPECT_EQ(store.sdHistory, expected.sd);
    EXPECT_EQ(store.psaHistory, expected.psa);
    EXPECT_THROW(RunEngine(*record, 0.05, store.periodGrid[completed], expected), OverflowError);
    for (const History* h : {&store.sdHistory, &store.svHistory, &store.saHistory,
                             &store.psvHistory, &store.psaHistory}) {
        for (const HistoryRow row : *h) {
            ASSERT_EQ(row.size(), completed);
            for (double value : row) {
                ASSERT_TRUE(std::isfinite(value));
            }
        }
    }
}

TEST_F(StoreFixture, EngineFailureIsReportedOnceWithDampingAndPeriod) {
    auto empty = MakeRecord("empty", 0.01, {});
    store.BuildPeriodGrid(0.02, 6, 0.02);
    store.AnalyseRecord(empty.get(), 0.05, kGravity);
    EXPECT_EQ(messages,
              std::vector<std::string>{"Error calculation for DampingRatio: 0.05& Period: 0.02"});
    EXPECT_TRUE(store.sdHistory.empty());
}

}  // namespace
