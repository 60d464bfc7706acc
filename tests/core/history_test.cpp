// Result histories: rows that grow by columns, copies that own their values, equality.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <vector>

#include "engine/History.h"
#include "engine/ResultStore.h"
#include "support/EngineFixtures.h"

namespace {

TEST(History, ColumnsGrowTheRowsTheyReach) {
    History history(3);
    const std::vector<double> full = {1, 2, 3}, part = {4, 5};
    for (int i = 0; i < 20; ++i) {  // past the first allocation, so the rows move
        history.AppendColumn(full);
    }
    history.AppendColumn(part);  // rows 0 and 1 only
    ASSERT_EQ(history.size(), 3u);
    EXPECT_EQ(history[0].size(), 21u);
    EXPECT_EQ(history[1].size(), 21u);
    EXPECT_EQ(history[2].size(), 20u);
    EXPECT_EQ(history[0][19], 1.0);
    EXPECT_EQ(history[1].back(), 5.0);
    EXPECT_EQ(history.back().back(), 3.0);
    EXPECT_THROW(history[2].at(20), std::out_of_range);
}

TEST(History, EqualityComparesEveryValue) {
    History a(2), b(2);
    a.AppendColumn(std::vector<double>{1, 2});
    b.AppendColumn(std::vector<double>{1, 2});
    EXPECT_TRUE(a == b);
    b.AppendColumn(std::vector<double>{3});
    EXPECT_FALSE(a == b) << "row 0 is longer";
    History withNan(1), alsoNan(1);
    withNan.AppendColumn(std::vector<double>{std::nan("")});
    alsoNan.AppendColumn(std::vector<double>{std::nan("")});
    EXPECT_FALSE(withNan == alsoNan) << "a not-a-number equals nothing, as in a vector";
    EXPECT_TRUE(History(4) == History(4));
    EXPECT_FALSE(History(4) == History(3));
}

// A copy of the store's rows keeps its values when the store's block is released.
TEST(History, CopyOfTheStoreRowsOutlivesTheBlock) {
    auto record = MakeRecord("quake", 0.01, SyntheticAccelerogram(100, 0.01, 0.3));
    ResultStore store;
    store.BuildPeriodGrid(0.02, 6, 0.02);
    store.AnalyseRecord(record.get(), 0.05, kGravity);
    const History copy = store.sdHistory;
    History assigned;
    assigned = store.psaHistory;
    const std::vector<double> lastRow(store.sdHistory.back().begin(), store.sdHistory.back().end());
    store.ClearResults();
    ASSERT_EQ(copy.size(), 99u);
    EXPECT_TRUE(copy.back() == lastRow);
    EXPECT_EQ(assigned.size(), 99u);
    EXPECT_EQ(assigned[0].size(), 300u);
    EXPECT_TRUE(store.sdHistory.empty());
}

}  // namespace
