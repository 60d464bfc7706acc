// libFuzzer target: a small fuzzed record, period grid and damping ratio through the
// result store (BuildPeriodGrid, then AnalyseRecord), with the store's invariants checked.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "engine/KernelChoice.h"
#include "engine/ResultStore.h"
#include "engine/RunningResponse.h"
#include "records/Errors.h"
#include "records/Timeserie.h"

namespace {

constexpr double kGravity = 980.0;    // 1 g in cm/s2
constexpr double kTwoPi = 6.2831852;  // the system's value of 2 pi in omega = 2 pi / T
constexpr std::size_t kMaxSamples = 64;
constexpr double kMaxGridEstimate = 200;    // periods the harness lets a grid have
constexpr double kMaxSubStepWork = 100000;  // sub-steps summed over periods and steps

void Require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// A double from one of several shapes: within a plausible range, any finite value, or an
// edge value (zeros, infinities, NaN, extremes), so that every branch of the guards is hit.
double ConsumeValue(FuzzedDataProvider& fdp, double low, double high) {
    static constexpr double kEdges[] = {0.0,
                                        -0.0,
                                        1.0,
                                        -1.0,
                                        std::numeric_limits<double>::infinity(),
                                        -std::numeric_limits<double>::infinity(),
                                        std::numeric_limits<double>::quiet_NaN(),
                                        std::numeric_limits<double>::denorm_min(),
                                        std::numeric_limits<double>::min(),
                                        std::numeric_limits<double>::max(),
                                        std::numeric_limits<double>::lowest(),
                                        std::numeric_limits<double>::epsilon()};
    switch (fdp.ConsumeIntegralInRange<int>(0, 3)) {
        case 0:
            return fdp.ConsumeFloatingPointInRange(low, high);
        case 1:
            return fdp.ConsumeFloatingPoint<double>();
        case 2:
            return fdp.PickValueInArray(kEdges);
        default:
            return fdp.ConsumeProbability<double>() * high;
    }
}

// Rough period count of the grid: small grids are built and analysed, grids beyond the
// store's limit are built too (the store must refuse them at once), the costly middle is
// skipped. A step too small to advance the period shows a small estimate and is built: the
// store must stop it as well.
bool WorthBuilding(double minPeriod, double maxPeriod, double step) {
    const double start = minPeriod < 0 ? ResultStore::kNegativeMinimumPeriod : minPeriod;
    const double estimate = (maxPeriod - start) / step;
    return !(estimate > kMaxGridEstimate) ||
           estimate > static_cast<double>(ResultStore::kMaxPeriods) + 1;
}

// Sub-steps the analysis would run; periods whose count cannot be an int are refused by the
// engine before any stepping, so they cost nothing.
double SubStepWork(const ResultStore& store, const TimeHistory& record) {
    double perStep = 0;
    for (double T : store.periodGrid) {
        const double count = record.GetTimeStep() / (T * ResultStore::kStepRatio) + 1;
        if (std::isfinite(count) && count < 2147483648.0 && count >= 1) {
            perStep += count;
        }
    }
    return perStep * std::max(0, record.Count() - 1);
}

// Every history has the given number of rows and every row the given number of values.
void CheckHistoryShape(const ResultStore& store, std::size_t rows, std::size_t valuesPerRow) {
    for (const History* h : {&store.sdHistory, &store.svHistory, &store.saHistory,
                             &store.psvHistory, &store.psaHistory}) {
        Require(h->size() == rows);
        for (const HistoryRow row : *h) {
            Require(row.size() == valuesPerRow);
        }
    }
}

// After a completed run: running maxima never decrease, every value is finite and not
// negative, and the pseudo values follow from the displacement of the same instant.
void CheckCompletedRun(const ResultStore& store, std::size_t rows) {
    const std::size_t periods = store.periodGrid.size();
    CheckHistoryShape(store, rows, periods);
    for (std::size_t j = 0; j < periods; ++j) {
        const double omega = kTwoPi / store.periodGrid[j];
        for (std::size_t r = 0; r < rows; ++r) {
            const double sd = store.sdHistory[r][j];
            for (const History* h : {&store.sdHistory, &store.svHistory, &store.saHistory,
                                     &store.psvHistory, &store.psaHistory}) {
                Require(std::isfinite((*h)[r][j]) && (*h)[r][j] >= 0);
                Require(r == 0 || (*h)[r][j] >= (*h)[r - 1][j]);
            }
            Require(store.psvHistory[r][j] == omega * sd);
            Require(store.psaHistory[r][j] == omega * omega * sd / kGravity);
        }
    }
}

// The periods one at a time through ComputeRunningSpectra: the analysis's fast path (periods
// stepped side by side by any kernel, on any number of threads) must give the same bits and
// stop at the same fault.
struct OneByOne {
    History sd, sv, sa, psv, psa;
    std::string error;  // what() of the fault that ended the run; empty when none
};

OneByOne RunOneByOne(const TimeHistory& record, double zeta, const DOUBLEVECTOR& grid) {
    const std::size_t rows = record.Count() > 1 ? record.Count() - 1 : 0;
    OneByOne ref{History(rows), History(rows), History(rows), History(rows), History(rows), {}};
    for (double T : grid) {
        try {
            if (!ComputeRunningSpectra(record, kGravity, ResultStore::kStepRatio, zeta, T, ref.sd,
                                       ref.sv, ref.sa, ref.psv, ref.psa)) {
                break;
            }
        } catch (const OrvantaError& e) {
            ref.error = e.what();
            break;
        }
    }
    return ref;
}

bool SameAsOneByOne(const ResultStore& store, const OneByOne& ref) {
    return store.sdHistory == ref.sd && store.svHistory == ref.sv && store.saHistory == ref.sa &&
           store.psvHistory == ref.psv && store.psaHistory == ref.psa;
}

// A record of up to kMaxSamples samples, most within a fuzzed amplitude (g), some of them
// infinite, NaN or huge through ConsumeValue's edge values.
TimeHistory ConsumeRecord(FuzzedDataProvider& fdp, double timeStep) {
    const std::size_t count = fdp.ConsumeIntegralInRange<std::size_t>(0, kMaxSamples);
    double amplitude = std::fabs(ConsumeValue(fdp, 0.0, 4.0));
    if (!(amplitude <= std::numeric_limits<double>::max())) {
        amplitude = std::numeric_limits<double>::max();
    }
    TimeHistory record("fuzz.txt", timeStep);
    for (std::size_t i = 0; i < count && fdp.remaining_bytes() > 0; ++i) {
        record.AddSample(fdp.ConsumeBool() ? ConsumeValue(fdp, -amplitude, amplitude)
                                           : fdp.ConsumeFloatingPointInRange(-1.0, 1.0));
    }
    return record;
}

// Builds the fuzzed grid; false when it was refused (the grids must then be untouched) or
// failed. A built grid ascends and carries 1/T for every period.
bool BuildGrid(ResultStore& store, double minPeriod, double maxPeriod, double periodStep) {
    try {
        store.BuildPeriodGrid(minPeriod, maxPeriod, periodStep);
    } catch (const ParameterError&) {
        Require(store.periodGrid.empty() && store.frequencyGrid.empty());
        return false;
    } catch (const OrvantaError&) {
        return false;  // a period of 0 has no frequency
    }
    Require(store.frequencyGrid.size() == store.periodGrid.size());
    for (std::size_t j = 0; j < store.periodGrid.size(); ++j) {
        Require(store.frequencyGrid[j] == 1 / store.periodGrid[j]);
        Require(j == 0 || store.periodGrid[j] > store.periodGrid[j - 1]);
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider fdp(data, size);
    const double minPeriod = ConsumeValue(fdp, -1.0, 5.0);
    const double maxPeriod = ConsumeValue(fdp, 0.0, 10.0);
    const double periodStep = ConsumeValue(fdp, -0.1, 2.0);
    const double damping = ConsumeValue(fdp, -1.5, 1.5);
    const double timeStep = ConsumeValue(fdp, -0.01, 0.1);
    const bool tightLimit = fdp.ConsumeBool();
    TimeHistory record = ConsumeRecord(fdp, timeStep);

    std::size_t messages = 0;
    ResultStore store([&messages](const std::string&) { ++messages; });
    if (!WorthBuilding(minPeriod, maxPeriod, periodStep) ||
        !BuildGrid(store, minPeriod, maxPeriod, periodStep)) {
        return 0;
    }
    if (store.periodGrid.size() > kMaxGridEstimate ||
        SubStepWork(store, record) > kMaxSubStepWork) {
        return 0;
    }
    const std::size_t rows = record.Count() > 1 ? record.Count() - 1 : 0;
    const std::size_t bytes = ResultStore::StoreBytes(record.Count(), store.periodGrid.size());
    Require(bytes == 5 * rows * ResultStore::RowStride(store.periodGrid.size()) * sizeof(double));
    if (tightLimit) {
        store.storeLimitBytes = fdp.ConsumeIntegralInRange<std::size_t>(0, 2 * bytes);
    }
    // Any kernel this machine runs, on one to three worker threads (0: the store's choice).
    const std::vector<Kernel> kernels = SupportedKernels();
    store.fastPath.kernel = kernels[fdp.ConsumeIntegralInRange<std::size_t>(0, kernels.size() - 1)];
    store.fastPath.threads = fdp.ConsumeIntegralInRange<unsigned>(0, 3);

    try {
        store.AnalyseRecord(&record, damping, kGravity);
    } catch (const ParameterError&) {
        // Refused before any work: nothing allocated, nothing analysed.
        CheckHistoryShape(store, 0, 0);
        Require(store.currentRecord == nullptr);
        return 0;
    } catch (const OrvantaError& e) {
        // An arithmetic fault ends the run; the periods before it stay, as one by one.
        const OneByOne ref = RunOneByOne(record, damping, store.periodGrid);
        Require(ref.error == e.what());
        Require(SameAsOneByOne(store, ref));
        return 0;
    }
    Require(store.currentRecord == &record);
    Require(bytes <= store.storeLimitBytes);
    const OneByOne ref = RunOneByOne(record, damping, store.periodGrid);
    Require(ref.error.empty());
    Require(SameAsOneByOne(store, ref));
    if (record.Count() == 0) {
        Require(messages == (store.periodGrid.empty() ? 0u : 1u));
        CheckHistoryShape(store, 0, 0);
        return 0;
    }
    Require(messages == 0);
    CheckCompletedRun(store, rows);
    return 0;
}
