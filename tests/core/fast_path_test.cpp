// The fast path against the reference path: every kernel this machine runs (the AVX-512
// source logic too, as the split 16-lane shape wherever AVX2 runs), on one to three
// worker threads, gives the bits of ComputeRunningSpectra called period after period, stops
// at the same fault, reports its progress and can be cancelled.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/KernelChoice.h"
#include "engine/ResultStore.h"
#include "engine/RunningResponse.h"
#include "records/Errors.h"
#include "support/EngineFixtures.h"

namespace {

// The reference: the grid one period at a time, stopping at the first fault.
struct Reference {
    SpectrumRows rows;
    std::string error;  // what() of the fault, empty when none
};

Reference RunReferenceGrid(const TimeHistory& record, double zeta, const DOUBLEVECTOR& grid) {
    Reference ref{SpectrumRows(record.Count() > 1 ? record.Count() - 1 : 0), {}};
    for (double T : grid) {
        try {
            RunEngine(record, zeta, T, ref.rows);
        } catch (const OrvantaError& e) {
            ref.error = e.what();
            break;
        }
    }
    return ref;
}

// Analyses record over grid with the kernel and thread count; the fault's text, if any.
std::string Analyse(ResultStore& store, TimeHistory& record, double zeta, const DOUBLEVECTOR& grid,
                    Kernel kernel, unsigned threads) {
    store.periodGrid = grid;
    store.fastPath = {kernel, threads};
    try {
        store.AnalyseRecord(&record, zeta, kGravity);
    } catch (const OrvantaError& e) {
        return e.what();
    }
    return {};
}

void ExpectSameAsReference(const ResultStore& store, const Reference& ref) {
    EXPECT_EQ(store.sdHistory, ref.rows.sd);
    EXPECT_EQ(store.svHistory, ref.rows.sv);
    EXPECT_EQ(store.saHistory, ref.rows.sa);
    EXPECT_EQ(store.psvHistory, ref.rows.psv);
    EXPECT_EQ(store.psaHistory, ref.rows.psa);
}

std::string KernelName(Kernel kernel) {
    return ChooseKernel(kernel).name;
}

// Grids that exercise the groups: short periods whose lanes have different sub-step counts,
// a partial last group, fewer periods than lanes, rows with and without line padding.
struct GridCase {
    const char* what;
    double min, max, step;
};
const GridCase kGrids[] = {
    {"default grid, padded rows", 0.02, 6, 0.02},
    {"short periods, mixed sub-step counts", 0.011, 0.4, 0.0137},
    {"fewer periods than a group's lanes", 0.3, 1.2, 0.25},
    {"one period", 0.7, 0.75, 1},
    {"63 periods, unpadded rows", 0.05, 3.2, 0.05},
    {"65 periods, partial padded group", 0.05, 3.3, 0.05},
};

TEST(FastPath, EveryKernelAndThreadCountGivesTheReferenceBits) {
    std::mt19937_64 rng(90210);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    for (const GridCase& grid : kGrids) {
        const std::size_t samples = std::uniform_int_distribution<std::size_t>(2, 300)(rng);
        const double dt = std::uniform_real_distribution<double>(0.002, 0.02)(rng);
        std::vector<double> acc(samples);
        std::generate(acc.begin(), acc.end(), [&] { return 0.5 * unit(rng); });
        auto record = MakeRecord("random.txt", dt, acc);
        const double zeta = std::uniform_real_distribution<double>(-0.2, 0.6)(rng);
        ResultStore gridStore;
        gridStore.BuildPeriodGrid(grid.min, grid.max, grid.step);
        const Reference ref = RunReferenceGrid(*record, zeta, gridStore.periodGrid);
        ASSERT_TRUE(ref.error.empty());
        for (Kernel kernel : SupportedKernels()) {
            for (unsigned threads : {1u, 2u, 3u}) {
                SCOPED_TRACE(::testing::Message()
                             << grid.what << ", " << KernelName(kernel) << ", " << threads
                             << " threads, n " << samples << ", zeta " << zeta);
                ResultStore store;
                EXPECT_EQ(Analyse(store, *record, zeta, gridStore.periodGrid, kernel, threads), "");
                ExpectSameAsReference(store, ref);
            }
        }
    }
}

// A huge slow sine: short periods follow it, long ones resonate past the range of doubles.
TEST(FastPath, EveryKernelStopsAtTheReferenceFault) {
    std::vector<double> acc(400);
    for (std::size_t i = 0; i < acc.size(); ++i) {
        acc[i] = 5e304 * std::sin(2 * 3.14159265358979 * static_cast<double>(i) * 0.05 / 6);
    }
    auto record = MakeRecord("resonant", 0.05, acc);
    ResultStore gridStore;
    gridStore.BuildPeriodGrid(0.02, 6, 0.02);
    const Reference ref = RunReferenceGrid(*record, 0.05, gridStore.periodGrid);
    ASSERT_EQ(ref.error, "Floating point overflow");
    for (Kernel kernel : SupportedKernels()) {
        for (unsigned threads : {1u, 2u, 3u}) {
            SCOPED_TRACE(::testing::Message() << KernelName(kernel) << ", " << threads);
            ResultStore store;
            EXPECT_EQ(Analyse(store, *record, 0.05, gridStore.periodGrid, kernel, threads),
                      ref.error);
            ExpectSameAsReference(store, ref);
        }
    }
}

// A sample that is not a number poisons every period from the first: nothing is kept.
TEST(FastPath, NotANumberInTheRecordIsAnInvalidOperation) {
    auto record = MakeRecord("nan", 0.01, {0, 0.1, std::nan(""), 0.2});
    ResultStore gridStore;
    gridStore.BuildPeriodGrid(0.02, 2, 0.1);
    for (Kernel kernel : SupportedKernels()) {
        ResultStore store;
        EXPECT_EQ(Analyse(store, *record, 0.05, gridStore.periodGrid, kernel, 2),
                  "Invalid floating point operation");
        ASSERT_EQ(store.sdHistory.size(), 3u);
        EXPECT_TRUE(store.sdHistory[0].empty());
    }
}

// A period that cannot be planned (its sub-step count exceeds the int range) ends the run
// there; the periods before it are complete.
TEST(FastPath, APeriodThatCannotBePlannedEndsTheRunInGridOrder) {
    auto record = MakeRecord("quake", 1e4, SyntheticAccelerogram(30, 1e4, 0.3));
    const DOUBLEVECTOR grid = {4e6, 2e6, 1e6, 1e-4, 2e6};
    const Reference ref = RunReferenceGrid(*record, 0.05, grid);
    ASSERT_EQ(ref.error, "Invalid floating point operation");
    ASSERT_EQ(ref.rows.sd[0].size(), 3u);
    for (Kernel kernel : SupportedKernels()) {
        ResultStore store;
        EXPECT_EQ(Analyse(store, *record, 0.05, grid, kernel, 2), ref.error);
        ExpectSameAsReference(store, ref);
    }
}

TEST(FastPath, AutomaticChoiceIsTheWidestSupportedKernel) {
    const std::vector<Kernel> kernels = SupportedKernels();
    ASSERT_FALSE(kernels.empty());
    EXPECT_EQ(kernels.front(), Kernel::Sse2);  // the baseline runs everywhere
    const Kernel chosen = ChooseKernel(Kernel::Automatic).kernel;
    EXPECT_NE(chosen, Kernel::Avx2Wide) << "the split shape is for testing only";
    EXPECT_TRUE(KernelSupported(chosen));
    if (KernelSupported(Kernel::Avx512)) {
        EXPECT_EQ(chosen, Kernel::Avx512);
    } else if (KernelSupported(Kernel::Avx2)) {
        EXPECT_EQ(chosen, Kernel::Avx2);
        EXPECT_THROW(ChooseKernel(Kernel::Avx512), std::invalid_argument);
    }
}

// The watcher sees the share done grow to 1 and the run finish.
TEST(FastPath, WatcherSeesProgressUpToTheEnd) {
    auto record = MakeRecord("quake", 0.005, SyntheticAccelerogram(3000, 0.005, 0.3));
    ResultStore store;
    store.BuildPeriodGrid(0.02, 6, 0.02);
    std::vector<double> shares;
    bool finished = false;
    store.watchRun = [&](AnalysisRun& run) {
        while (!run.WaitFor(std::chrono::milliseconds(1))) {
            shares.push_back(run.ShareDone());
        }
        shares.push_back(run.ShareDone());
        finished = run.Finished();
    };
    EXPECT_TRUE(store.AnalyseRecord(record.get(), 0.05, kGravity));
    EXPECT_TRUE(finished);
    ASSERT_FALSE(shares.empty());
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
    EXPECT_EQ(shares.back(), 1.0);
    EXPECT_EQ(store.sdHistory.size(), 2999u);
}

// A cancelled run leaves no results and the record analysed before.
TEST(FastPath, CancelledRunLeavesTheStoreEmpty) {
    auto earlier = MakeRecord("earlier", 0.01, {0, 0.2, 0.1});
    auto record = MakeRecord("quake", 0.01, SyntheticAccelerogram(2000, 0.01, 0.3));
    ResultStore store;
    store.BuildPeriodGrid(0.02, 6, 0.02);
    store.AnalyseRecord(earlier.get(), 0.05, kGravity);
    store.watchRun = [](AnalysisRun& run) {
        run.Cancel();
        run.Wait();
    };
    EXPECT_FALSE(store.AnalyseRecord(record.get(), 0.05, kGravity));
    EXPECT_TRUE(store.sdHistory.empty() && store.psaHistory.empty());
    EXPECT_EQ(store.currentRecord, earlier.get());
    EXPECT_EQ(store.periodGrid.size(), 300u);
}

// A minimum period of 1e-7 s takes 500,001 sub-steps per record step: the kernels look at
// the stop flag inside a record step, so a cancel ends such a run at once, not after the
// record step or the period.
TEST(FastPath, CancelReachesInsideALongRecordStep) {
    auto record = MakeRecord("quake", 0.01, SyntheticAccelerogram(200, 0.01, 0.3));
    ResultStore store;
    store.BuildPeriodGrid(1e-7, 6, 0.02);
    std::chrono::steady_clock::duration afterCancel{};
    store.watchRun = [&](AnalysisRun& run) {
        EXPECT_FALSE(run.WaitFor(std::chrono::milliseconds(50)));
        const auto cancelled = std::chrono::steady_clock::now();
        run.Cancel();
        run.Wait();
        afterCancel = std::chrono::steady_clock::now() - cancelled;
    };
    EXPECT_FALSE(store.AnalyseRecord(record.get(), 0.05, kGravity));
    // Generous for a shared machine; without the check inside the record step the run
    // would go on for the whole 200-step record of its first period (tens of seconds).
    EXPECT_LT(afterCancel, std::chrono::seconds(2));
    EXPECT_TRUE(store.sdHistory.empty());
}

}  // namespace
