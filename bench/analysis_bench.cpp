// Analysis of an 8,000-sample record (40 s at 0.005 s) at the default grid of 300 periods:
// total time, time per period-sub-step and the size of the result store. Wall time (the
// work runs on worker threads), ten repetitions, reported with min, median and max (the
// machine may be shared).
//   BM_ReanalyseInWindowStore   the window's way: ClearResults, then AnalyseRecord
//   BM_FastPathIntoMappedRows   the kernels and threads into rows already mapped (no page
//                               faults), per kernel and thread count
//   BM_FastPathArithmetic       the same with every row written over row 0, so nothing
//                               goes to memory: the arithmetic alone
//   BM_FreshBlock               mapping the store's block and faulting it in (the kernel
//                               zeroes every page): what a run pays for memory given back
//                               by ClearResults
//   BM_ReferencePerPeriod       ComputeRunningSpectra once per period, for comparison
#include <benchmark/benchmark.h>

#include <sys/mman.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

#include "bench/MinMax.h"
#include "engine/FastPath.h"
#include "engine/KernelChoice.h"
#include "engine/ResultStore.h"
#include "engine/RunningResponse.h"
#include "engine/StoreMemory.h"
#include "records/Units.h"

namespace {

constexpr double kTimeStep = 0.005;  // s
constexpr int kSamples = 8000;       // 40 s
constexpr double kDamping = 0.05;

// A 40 s accelerogram: a few sines under a build-up and decay envelope, peak about 0.4 g.
TimeHistory SyntheticRecord() {
    TimeHistory record("synthetic-40s", kTimeStep);
    const double pi = 3.14159265358979;
    for (int i = 0; i < kSamples; ++i) {
        const double t = i * kTimeStep;
        const double envelope = std::sin(pi * t / (kSamples * kTimeStep));
        record.AddSample(0.4 * envelope * envelope *
                         (0.5 * std::sin(2 * pi * t / 0.31) +
                          0.3 * std::sin(2 * pi * t / 0.87 + 1) +
                          0.2 * std::sin(2 * pi * t / 0.07 + 2)));
    }
    return record;
}

// Sub-steps summed over all periods of the grid and all record steps.
double PeriodSubSteps(const DOUBLEVECTOR& grid, const TimeHistory& record) {
    double total = 0;
    for (double T : grid) {
        total += SubStepCount(record.GetTimeStep(), T, ResultStore::kStepRatio);
    }
    return total * (record.Count() - 1);
}

DOUBLEVECTOR DefaultGrid() {
    ResultStore store;
    store.BuildPeriodGrid(0.02, 6, 0.02);
    return store.periodGrid;
}

void Repeated(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MinTime(0.3)
        ->Repetitions(10)
        ->ReportAggregatesOnly(true)
        ->ComputeStatistics("min", MinimumOf)
        ->ComputeStatistics("max", MaximumOf);
}

void SetCounters(benchmark::State& state, const DOUBLEVECTOR& grid, const TimeHistory& record) {
    const double subSteps = PeriodSubSteps(grid, record);
    state.counters["period_substeps"] = subSteps;
    // Seconds per period-sub-step (shown with an SI prefix: 5n = 5 ns).
    state.counters["time_per_substep"] = benchmark::Counter(
        subSteps, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["store_MB"] =
        static_cast<double>(ResultStore::StoreBytes(record.Count(), grid.size())) /
        (1024.0 * 1024.0);
}

void BM_ReanalyseInWindowStore(benchmark::State& state) {
    TimeHistory record = SyntheticRecord();
    ResultStore store;
    store.BuildPeriodGrid(0.02, 6, 0.02);
    store.AnalyseRecord(&record, kDamping, kGravity);
    for (auto _ : state) {
        store.ClearResults();
        store.AnalyseRecord(&record, kDamping, kGravity);
        benchmark::DoNotOptimize(store.sdHistory.back().data());
    }
    state.SetLabel(ChooseKernel(Kernel::Automatic).name);
    SetCounters(state, store.periodGrid, record);
}
BENCHMARK(BM_ReanalyseInWindowStore)->Apply(Repeated);

// The fast path into a block mapped and written once before the measurement; with
// overlapRows every row is row 0 (regular stores into one cache-resident row).
void RunIntoBlock(benchmark::State& state, bool overlapRows) {
    const auto kernel = static_cast<Kernel>(state.range(0));
    if (!KernelSupported(kernel)) {
        state.SkipWithError("kernel not supported on this machine");
        return;
    }
    const TimeHistory record = SyntheticRecord();
    const DOUBLEVECTOR grid = DefaultGrid();
    const std::size_t rows = kSamples - 1, stride = ResultStore::RowStride(grid.size());
    StoreMemory memory;
    memory.Map(ResultStore::StoreBytes(kSamples, grid.size()));
    double* base = reinterpret_cast<double*>(memory.Block().data());
    std::fill(base, base + 5 * rows * stride, 0.0);
    FastPathOutput out{{}, overlapRows ? 0 : stride, {}};
    for (std::size_t q = 0; q < 5; ++q) {
        out.histories[q] = base + q * rows * stride;
    }
    const FastPathInput in{record.GetAcc().data(),  kSamples, kTimeStep,   kGravity,
                           ResultStore::kStepRatio, kDamping, grid.data(), grid.size()};
    const FastPathOptions options{kernel, static_cast<unsigned>(state.range(1))};
    for (auto _ : state) {
        const FastPathResult result = RunFastPath(in, out, options, {});
        benchmark::DoNotOptimize(result.completedPeriods);
    }
    state.SetLabel(ChooseKernel(kernel).name);
    SetCounters(state, grid, record);
}

void BM_FastPathIntoMappedRows(benchmark::State& state) {
    RunIntoBlock(state, false);
}
void BM_FastPathArithmetic(benchmark::State& state) {
    RunIntoBlock(state, true);
}

void KernelsAndThreads(benchmark::internal::Benchmark* b) {
    b->ArgNames({"kernel", "threads"});
    for (Kernel kernel : {Kernel::Sse2, Kernel::Avx2, Kernel::Avx2Wide, Kernel::Avx512}) {
        for (int threads : {1, 2}) {
            b->Args({static_cast<int>(kernel), threads});
        }
    }
    Repeated(b);
}
BENCHMARK(BM_FastPathIntoMappedRows)->Apply(KernelsAndThreads);
BENCHMARK(BM_FastPathArithmetic)->Apply(KernelsAndThreads);

void BM_FreshBlock(benchmark::State& state) {
    const std::size_t bytes = ResultStore::StoreBytes(kSamples, DefaultGrid().size());
    for (auto _ : state) {
        StoreMemory memory;
        memory.Map(bytes);
        const std::span<std::byte> block = memory.Block();
        if (madvise(block.data(), block.size(), MADV_POPULATE_WRITE) != 0) {
            for (std::size_t at = 0; at < block.size(); at += 4096) {
                block[at] = std::byte{0};
            }
        }
        benchmark::DoNotOptimize(block.data());
    }
    state.counters["store_MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_FreshBlock)->Apply(Repeated);

// The straightforward way: one reference call per period, each appending one value to each
// of the 5 * (n - 1) rows.
void BM_ReferencePerPeriod(benchmark::State& state) {
    const TimeHistory record = SyntheticRecord();
    const DOUBLEVECTOR grid = DefaultGrid();
    for (auto _ : state) {
        History sd(kSamples - 1), sv(kSamples - 1), sa(kSamples - 1), psv(kSamples - 1),
            psa(kSamples - 1);
        for (double T : grid) {
            ComputeRunningSpectra(record, kGravity, ResultStore::kStepRatio, kDamping, T, sd, sv,
                                  sa, psv, psa);
        }
        benchmark::DoNotOptimize(sd.back().data());
    }
    SetCounters(state, grid, record);
}
BENCHMARK(BM_ReferencePerPeriod)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("min", MinimumOf)
    ->ComputeStatistics("max", MaximumOf);

}  // namespace

BENCHMARK_MAIN();
