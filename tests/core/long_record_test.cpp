// A 200,000-sample record at the default grid: read whole from its file, then refused with
// the store-size message before anything is allocated when the store would exceed the limit.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "engine/ResultStore.h"
#include "records/Errors.h"
#include "records/RecordReader.h"
#include "support/EngineFixtures.h"
#include "support/TempFolder.h"

// Bytes requested through operator new by this test program, so the test can tell that a
// refused analysis allocated nothing. malloc underneath keeps the sanitizers' checks; the
// replacements are kept out of line so the compiler never pairs an inlined free with new.
namespace {
std::atomic<std::size_t> bytesRequested{0};
}  // namespace

[[gnu::noinline]] void* operator new(std::size_t size) {
    bytesRequested.fetch_add(size, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept {
    std::free(p);
}
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

constexpr int kSamples = 200000;
constexpr double kTimeStep = 0.01;  // s: 2000 s of record
constexpr std::size_t kDefaultGridPeriods = 300;

// The record as a file: one header line, then time (s) and acceleration (g) per line.
std::string RecordFileText() {
    const std::vector<double> acc = SyntheticAccelerogram(kSamples, kTimeStep, 0.3);
    std::string text = "Time(s) Acc(g)\n";
    text.reserve(24 * acc.size());
    char line[64];
    for (std::size_t i = 0; i < acc.size(); ++i) {
        std::snprintf(line, sizeof line, "%.2f %.6f\n", static_cast<double>(i) * kTimeStep, acc[i]);
        text += line;
    }
    return text;
}

TEST(LongRecord, IsReadWhole) {
    TempFolder folder;
    RecordList records;
    ReadRecordFile(folder.Write("long_record.txt", RecordFileText()), 2, 1.0, records);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]->Count(), kSamples);
    EXPECT_NEAR(records[0]->GetTimeStep(), kTimeStep, 1e-15);
    EXPECT_NEAR(records[0]->Duration(), 1999.99, 1e-9);
}

// 5 histories x 199,999 rows x 304 values (300 periods in whole lines) x 8 bytes = 2.4 GB: with a
// limit below that the run is refused with the sizes in the message, and the earlier results stay
// as they were.
TEST(LongRecord, StoreOverTheLimitIsRefusedBeforeAllocating) {
    std::vector<std::string> messages;
    ResultStore store([&messages](const std::string& m) { messages.push_back(m); });
    store.BuildPeriodGrid(0.02, 6, 0.02);
    ASSERT_EQ(store.periodGrid.size(), kDefaultGridPeriods);

    auto earlier = MakeRecord("earlier.txt", kTimeStep, SyntheticAccelerogram(50, kTimeStep, 0.2));
    store.AnalyseRecord(earlier.get(), 0.05, kGravity);
    const History sdBefore = store.sdHistory;
    const History psaBefore = store.psaHistory;
    const DOUBLEVECTOR periodsBefore = store.periodGrid;

    auto record =
        MakeRecord("long_record.txt", kTimeStep, SyntheticAccelerogram(kSamples, kTimeStep, 0.3));
    const std::size_t needed = ResultStore::StoreBytes(kSamples, kDefaultGridPeriods);
    EXPECT_EQ(needed, 5u * 199999u * 304u * 8u);
    store.storeLimitBytes = std::size_t{2} << 30;  // 2 GiB
    ASSERT_GT(needed, store.storeLimitBytes);

    std::string message;
    const std::size_t bytesBefore = bytesRequested.load();
    ASSERT_GE(bytesBefore, kSamples * sizeof(double)) << "the counter sees the record's samples";
    try {
        store.AnalyseRecord(record.get(), 0.05, kGravity);
    } catch (const ParameterError& e) {
        message = e.what();
    }
    const std::size_t allocated = bytesRequested.load() - bytesBefore;

    EXPECT_EQ(message,
              "The results of record 'long_record.txt' need 2.3 GB of memory, more than the limit "
              "of 2.0 GB");
    EXPECT_LT(allocated, std::size_t{4096}) << "only the message may be allocated";
    EXPECT_EQ(store.currentRecord, earlier.get());
    EXPECT_EQ(store.sdHistory, sdBefore);
    EXPECT_EQ(store.psaHistory, psaBefore);
    EXPECT_EQ(store.periodGrid, periodsBefore);
    EXPECT_EQ(store.svHistory.size(), 49u);
    EXPECT_TRUE(messages.empty());
}

}  // namespace
