// TimeHistory: counts, durations and sample access.
#include <gtest/gtest.h>

#include "records/Timeserie.h"

TEST(TimeHistory, EmptyAndSingleSampleDurations) {
    TimeHistory empty("a.txt", 0.01);
    EXPECT_EQ(empty.Count(), 0);
    EXPECT_DOUBLE_EQ(empty.Duration(), -0.01);
    TimeHistory one("b.txt", 0.02);
    one.AddSample(0.5);
    EXPECT_EQ(one.Count(), 1);
    EXPECT_DOUBLE_EQ(one.Duration(), 0.0);
}

TEST(TimeHistory, ZeroAndNegativeTimeStepsAreKept) {
    TimeHistory zero("z.txt", 0.0);
    TimeHistory negative("n.txt", -0.01);
    for (int i = 0; i < 5; ++i) {
        zero.AddSample(i);
        negative.AddSample(i);
    }
    EXPECT_DOUBLE_EQ(zero.Duration(), 0.0);
    EXPECT_DOUBLE_EQ(negative.Duration(), -0.04);
    EXPECT_EQ(negative.GetName(), "n.txt");
    EXPECT_DOUBLE_EQ(negative.GetTimeStep(), -0.01);
}

TEST(TimeHistory, GetAccIsTheLiveArray) {
    TimeHistory record("r.txt", 0.01);
    const DOUBLEVECTOR& acc = record.GetAcc();
    record.AddSample(1.5);
    record.AddSample(-2.5);
    EXPECT_EQ(&acc, &record.GetAcc());
    ASSERT_EQ(acc.size(), 2u);
    record.AddSample(3.0);
    EXPECT_EQ(acc[0], 1.5);
    EXPECT_EQ(acc[1], -2.5);
    EXPECT_EQ(acc.size(), 3u);
}
