// The store's memory: ClearResults gives it back to the system, and the memory guard's
// estimate of a run matches what the run makes resident.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "engine/ResultStore.h"
#include "support/EngineFixtures.h"

namespace {

// A field of /proc/self/status in kB ("VmRSS", "VmHWM").
long StatusKb(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::stol(line.substr(field.size() + 1));
        }
    }
    return -1;
}

// Restarts the peak resident size (VmHWM) at the current resident size.
bool ResetPeak() {
    std::ofstream clearRefs("/proc/self/clear_refs");
    clearRefs << "5";
    return static_cast<bool>(clearRefs.flush());
}

constexpr int kSamples = 40000;
constexpr double kTimeStep = 0.01;

class ResultMemory : public ::testing::Test {
  protected:
    void SetUp() override {
#if defined(__SANITIZE_ADDRESS__)
        GTEST_SKIP() << "the sanitizers' shadow memory distorts the resident size";
#endif
        record = MakeRecord("long.txt", kTimeStep, SyntheticAccelerogram(kSamples, kTimeStep, 0.3));
        store.BuildPeriodGrid(1, 1.8, 0.01);  // 80 long periods (one sub-step), padded rows
        ASSERT_EQ(store.periodGrid.size(), 80u);
    }
    std::unique_ptr<TimeHistory> record;
    ResultStore store;
};

TEST_F(ResultMemory, ClearingTheResultsGivesTheirMemoryBack) {
    const long before = StatusKb("VmRSS");
    store.AnalyseRecord(record.get(), 0.05, kGravity);
    const long analysed = StatusKb("VmRSS");
    store.ClearResults();
    const long cleared = StatusKb("VmRSS");
    const long blockKb =
        static_cast<long>(ResultStore::StoreBytes(kSamples, store.periodGrid.size()) / 1024);
    EXPECT_GT(analysed - before, blockKb * 9 / 10);
    EXPECT_LT(cleared - before, blockKb / 10) << "resident after clearing: " << cleared << " kB";
}

// The guard's figure for the run (block plus what the caller declares per instant) is
// within 10 % of the peak the run adds.
TEST_F(ResultMemory, GuardEstimateIsWithinTenPercentOfThePeak) {
    store.callerBytesPerInstant = 0;
    ASSERT_TRUE(ResetPeak());
    const long before = StatusKb("VmRSS");
    store.AnalyseRecord(record.get(), 0.05, kGravity);
    const long peakKb = StatusKb("VmHWM") - before;
    const long estimateKb =
        static_cast<long>(store.RunBytes(kSamples, store.periodGrid.size()) / 1024);
    EXPECT_NEAR(static_cast<double>(peakKb), static_cast<double>(estimateKb), 0.1 * estimateKb);
}

}  // namespace
