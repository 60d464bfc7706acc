// Analysis of a long record with the default grid: total time, time per period-sub-step
// and the size of the result store. Rates use CPU time and each figure is repeated, with
// the minimum reported beside mean and median (the machine may be shared).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <memory>
#include <vector>

#include "app/HugePageMalloc.h"
#include "engine/PeriodBlock.h"
#include "engine/ResultStore.h"
#include "engine/RunningResponse.h"
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
double PeriodSubSteps(const ResultStore& store, const TimeHistory& record) {
    double total = 0;
    for (double T : store.periodGrid) {
        total += SubStepCount(record.GetTimeStep(), T, ResultStore::kStepRatio);
    }
    return total * (record.Count() - 1);
}

double Minimum(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

// Repetitions with their minimum: the least disturbed run on a shared machine.
void Repeated(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)
        ->MinTime(0.5)
        ->Repetitions(5)
        ->ComputeStatistics("min", Minimum);
}

void SetCounters(benchmark::State& state, const ResultStore& store, const TimeHistory& record) {
    const double subSteps = PeriodSubSteps(store, record);
    state.counters["periods"] = static_cast<double>(store.periodGrid.size());
    state.counters["period_substeps"] = subSteps;
    // Seconds per period-sub-step (shown with an SI prefix: 5n = 5 ns).
    state.counters["time_per_substep"] = benchmark::Counter(
        subSteps, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["store_MB"] =
        static_cast<double>(ResultStore::StoreBytes(record.Count(), store.periodGrid.size())) /
        (1024.0 * 1024.0);
}

// The analysis as the Run Analysis command runs it, on an empty store. With keepHeap the
// benchmark holds a small allocation above the store, so the memory the cleared rows
// free stays mapped and the next run reuses it, as in a window that has allocated since;
// without it the heap returns the memory and every run maps 5 * (n - 1) * P * 8 bytes
// afresh (one page fault per 4 KiB, expensive on virtual machines).
void BM_AnalyseRecord(benchmark::State& state) {
    const bool keepHeap = state.range(0) != 0;
    TimeHistory record = SyntheticRecord();
    ResultStore store;
    store.BuildPeriodGrid(0.02, 6, 0.02);
    std::vector<std::unique_ptr<char[]>> pins;  // 64 KiB each: taken from the heap's top
    if (keepHeap) {  // map the store's memory once, outside the measurement
        store.AnalyseRecord(&record, kDamping, kGravity);
        pins.push_back(std::make_unique<char[]>(64 * 1024));
    }
    for (auto _ : state) {
        state.PauseTiming();
        store.ClearResults();
        state.ResumeTiming();
        store.AnalyseRecord(&record, kDamping, kGravity);
        benchmark::DoNotOptimize(store.sdHistory.back().data());
        if (keepHeap) {
            pins.push_back(std::make_unique<char[]>(64 * 1024));
        }
    }
    SetCounters(state, store, record);
}
BENCHMARK(BM_AnalyseRecord)->ArgName("reused_memory")->Arg(0)->Arg(1)->Apply(Repeated);

// The straightforward way for comparison: one engine call per period, each appending one
// value to each of the 5 * (n - 1) rows. The rows keep their capacity between iterations,
// so this and BM_FillMappedRows compare the computation and the filling alone.
void BM_EngineCallPerPeriod(benchmark::State& state) {
    TimeHistory record = SyntheticRecord();
    ResultStore store;
    store.BuildPeriodGrid(0.02, 6, 0.02);
    History sd, sv, sa, psv, psa;
    for (History* h : {&sd, &sv, &sa, &psv, &psa}) {
        h->resize(record.Count() - 1);
        for (DOUBLEVECTOR& row : *h) {
            row.reserve(store.periodGrid.size());
        }
    }
    for (auto _ : state) {
        for (History* h : {&sd, &sv, &sa, &psv, &psa}) {
            for (DOUBLEVECTOR& row : *h) {
                row.clear();  // keeps the capacity
            }
        }
        for (double T : store.periodGrid) {
            ComputeRunningSpectra(record, kGravity, ResultStore::kStepRatio, kDamping, T, sd, sv,
                                  sa, psv, psa);
        }
        benchmark::DoNotOptimize(sd.back().data());
    }
    SetCounters(state, store, record);
}
BENCHMARK(BM_EngineCallPerPeriod)->Apply(Repeated);

// The analysis's own path (all periods side by side, one contiguous append per row and
// record step) into the same already mapped rows.
void BM_FillMappedRows(benchmark::State& state) {
    TimeHistory record = SyntheticRecord();
    ResultStore store;
    store.BuildPeriodGrid(0.02, 6, 0.02);
    History sd, sv, sa, psv, psa;
    for (History* h : {&sd, &sv, &sa, &psv, &psa}) {
        h->resize(record.Count() - 1);
        for (DOUBLEVECTOR& row : *h) {
            row.reserve(store.periodGrid.size());
        }
    }
    const HistorySet out{&sd, &sv, &sa, &psv, &psa};
    for (auto _ : state) {
        for (History* h : {&sd, &sv, &sa, &psv, &psa}) {
            for (DOUBLEVECTOR& row : *h) {
                row.clear();
            }
        }
        RunPeriodBlock(record.GetAcc(), kTimeStep, kGravity, ResultStore::kStepRatio, kDamping,
                       store.periodGrid.data(), store.periodGrid.size(), out);
        benchmark::DoNotOptimize(sd.back().data());
    }
    SetCounters(state, store, record);
}
BENCHMARK(BM_FillMappedRows)->Apply(Repeated);

}  // namespace

// The application's start-up: the heap on transparent huge pages (see HugePageMalloc.h),
// so reused_memory:0 measures a first run as the user gets it.
int main(int argc, char** argv) {
    RestartWithHugePageMalloc(argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
