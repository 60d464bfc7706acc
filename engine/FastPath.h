// The fast path: every period of a grid through a record at once, in groups of neighbouring
// periods stepped side by side by the chosen kernel, the groups split over worker threads,
// the values written in place into the store's rows. Gives exactly the bits of the
// reference path (ComputeRunningSpectra called period after period), whatever the kernel
// and the number of threads, and stops at the same fault.
#pragma once

#include <cstddef>
#include <exception>
#include <functional>
#include <span>

#include "engine/AnalysisRun.h"
#include "engine/KernelChoice.h"

// How the fast path runs; the defaults suit every caller, tests name kernels and threads.
struct FastPathOptions {
    Kernel kernel = Kernel::Automatic;
    unsigned threads =
        0;  // worker threads; 0: as many as the machine has cores, fewer for small runs
};

// One analysis: the record, the oscillators and the periods.
struct FastPathInput {
    const double* acc;        // samples, g
    std::size_t sampleCount;  // at least 2
    double dt;                // sampling interval, s (> 0)
    double gravity;           // cm/s2 per g (finite, not 0)
    double stepRatio;         // sub-step bound as a fraction of the period
    double zeta;              // damping ratio (|zeta| < 1)
    const double* periods;    // s, in grid order
    std::size_t periodCount;
};

// Where the values go: row r (instant (r+1) dt) of quantity q (sd cm, sv cm/s, sa g,
// psv cm/s, psa g) starts at histories[q] + r * rowStride, entry j belonging to period j.
struct FastPathOutput {
    double* histories[5];
    std::size_t rowStride;       // at least periodCount
    std::span<std::byte> fresh;  // newly mapped memory of the rows, faulted in by the workers
};

struct FastPathResult {
    std::size_t completedPeriods;  // periods 0 .. completedPeriods-1 hold their values
    std::exception_ptr error;      // the fault that ended the run in grid order, if any
    bool cancelled;                // stopped through AnalysisRun::Cancel: nothing is valid
};

// Called on the calling thread while the workers compute, with the run to watch or stop;
// must return only once the run has finished.
using RunWatcher = std::function<void(AnalysisRun&)>;

// Runs the analysis. Without a watcher the calling thread works too. A period that cannot
// be planned or whose response is not finite ends the run there, with the error the
// reference path raises for it (the periods before it stay).
FastPathResult RunFastPath(const FastPathInput& input, const FastPathOutput& output,
                           const FastPathOptions& options, const RunWatcher& watcher);
