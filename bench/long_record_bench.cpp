// A 200,000-sample record (2000 s at 0.01 s) at the default grid of 300 periods: the whole
// 2.4 GB store computed once in a fresh process (wall time: the work runs on worker
// threads and the kernel zeroes every fresh page), and the same run refused under a 2 GiB
// store limit. Run one at a time under /usr/bin/time -v (--benchmark_filter) to read each
// one's peak memory; repeat the process for min, median and max.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstddef>

#include "engine/ResultStore.h"
#include "records/Errors.h"
#include "records/Units.h"

namespace {

constexpr double kTimeStep = 0.01;  // s
constexpr int kSamples = 200000;
constexpr double kDamping = 0.05;
constexpr double kGiB = 1024.0 * 1024.0 * 1024.0;

// Shaking of a few periods under a slow build-up and decay, peak about 0.3 g.
TimeHistory LongRecord() {
    TimeHistory record("long-2000s", kTimeStep);
    const double pi = 3.14159265358979;
    const double duration = kSamples * kTimeStep;
    for (int i = 0; i < kSamples; ++i) {
        const double t = i * kTimeStep;
        const double envelope = std::sin(pi * t / duration);
        record.AddSample(0.3 * envelope * envelope *
                         (0.5 * std::sin(2 * pi * t / 0.31) +
                          0.3 * std::sin(2 * pi * t / 0.87 + 1) +
                          0.2 * std::sin(2 * pi * t / 0.07 + 2)));
    }
    return record;
}

void SetStoreCounters(benchmark::State& state, const ResultStore& store) {
    state.counters["periods"] = static_cast<double>(store.periodGrid.size());
    state.counters["store_GiB"] =
        static_cast<double>(ResultStore::StoreBytes(kSamples, store.periodGrid.size())) / kGiB;
    state.counters["limit_GiB"] = static_cast<double>(store.storeLimitBytes) / kGiB;
}

// The whole store under the default limit (half the physical memory): one run, since a
// run maps 2.4 GB of rows; the rows are freed outside the timing.
void BM_LongRecordWholeStore(benchmark::State& state) {
    TimeHistory record = LongRecord();
    ResultStore store;
    store.BuildPeriodGrid(0.02, 6, 0.02);
    for (auto _ : state) {
        store.AnalyseRecord(&record, kDamping, kGravity);
        benchmark::DoNotOptimize(store.sdHistory.back().back());
        state.PauseTiming();
        state.counters["rows"] = static_cast<double>(store.sdHistory.size());
        store.ClearResults();
        state.ResumeTiming();
    }
    SetStoreCounters(state, store);
}
BENCHMARK(BM_LongRecordWholeStore)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// The same run with a 2 GiB limit: refused before any row exists, so it costs nothing.
void BM_LongRecordRefusedOverTheLimit(benchmark::State& state) {
    TimeHistory record = LongRecord();
    ResultStore store;
    store.BuildPeriodGrid(0.02, 6, 0.02);
    store.storeLimitBytes = std::size_t{2} << 30;
    for (auto _ : state) {
        try {
            store.AnalyseRecord(&record, kDamping, kGravity);
            state.SkipWithError("a store over the limit was not refused");
        } catch (const ParameterError& e) {
            benchmark::DoNotOptimize(e.what());
        }
    }
    SetStoreCounters(state, store);
}
BENCHMARK(BM_LongRecordRefusedOverTheLimit)->Unit(benchmark::kMicrosecond);

}  // namespace
