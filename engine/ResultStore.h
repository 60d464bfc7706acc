// The result store: period grid, frequencies, the record analysed last and the five
// running-spectrum histories, with the operations that fill and clear them. The histories'
// rows live in one memory block the store maps for a run and releases with the results.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "engine/FastPath.h"
#include "engine/History.h"
#include "engine/StoreMemory.h"
#include "records/Timeserie.h"

class ResultStore {
  public:
    // Shows a modal message to the user (the window passes a message box; tests record).
    using MessageCallback = std::function<void(const std::string&)>;

    // Sub-step bound as a fraction of the period passed to the engine.
    static constexpr double kStepRatio = 0.02;
    // Period (s) that replaces a negative minimum period.
    static constexpr double kNegativeMinimumPeriod = 0.02;
    // Largest grid BuildPeriodGrid accepts.
    static constexpr std::size_t kMaxPeriods = 100000;

    explicit ResultStore(MessageCallback showMessage = {});
    ResultStore(const ResultStore&) = delete;
    ResultStore& operator=(const ResultStore&) = delete;

    // Frees every row of the five histories and gives their memory back to the system.
    // Grids and currentRecord stay.
    void ClearResults();

    // Rebuilds periodGrid (s, ascending, by repeated addition of periodStep) and
    // frequencyGrid (Hz, 1/T). Throws ParameterError for a step not greater than 0 or a
    // grid of more than kMaxPeriods periods (before touching the grids), and
    // DivisionByZeroError for a period of 0.
    void BuildPeriodGrid(double minPeriod, double maxPeriod, double periodStep);

    // Makes record (not null) the currentRecord and fills the histories for the current
    // periodGrid (sd cm, sv cm/s, sa g, psv cm/s, psa g); gravity is 1 g in cm/s2. Throws
    // ParameterError, before changing anything, for |dampingRatio| >= 1, a time step not
    // greater than 0, or a run needing more than storeLimitBytes (RunBytes). Rows left by
    // an earlier run are cleared first. An engine failure (no samples) is reported through
    // the message callback. Arithmetic faults of the engine propagate; the periods
    // completed before the fault stay, with the same number of values in every row.
    // The work runs on worker threads; watchRun, when set, runs meanwhile on the calling
    // thread and may cancel the run. Returns false for a cancelled run, which leaves the
    // histories empty and currentRecord as it was.
    bool AnalyseRecord(TimeHistory* record, double dampingRatio, double gravity);

    // Doubles between the starts of two rows for a grid of periodCount periods: grids of
    // 64 periods or more round up to whole 64-byte lines (at most 7 values, under 10 %), so
    // that the kernels write every row in full lines past the caches.
    static std::size_t RowStride(std::size_t periodCount);

    // Bytes of the block holding the five histories of a record of sampleCount samples over
    // periodCount periods: 5 * (sampleCount - 1) * RowStride(periodCount) * 8, saturating
    // at SIZE_MAX.
    static std::size_t StoreBytes(std::size_t sampleCount, std::size_t periodCount);

    // Bytes a run allocates, which the memory guard compares with storeLimitBytes: the
    // block and callerBytesPerInstant for every output instant, saturating at SIZE_MAX.
    std::size_t RunBytes(std::size_t sampleCount, std::size_t periodCount) const;

    // Default limit on a run's memory in bytes: half of the machine's physical memory
    // (sysconf), leaving room for the records, the window and the system.
    static std::size_t DefaultStoreLimitBytes();

    TimeHistory* currentRecord = nullptr;  // not owned; the record analysed last
    DOUBLEVECTOR periodGrid;               // s
    DOUBLEVECTOR frequencyGrid;            // Hz
    History sdHistory;                     // cm
    History svHistory;                     // cm/s
    History saHistory;                     // g
    History psvHistory;                    // cm/s
    History psaHistory;                    // g
    std::size_t storeLimitBytes;           // refuse a run that would allocate more than this
    // Memory the caller allocates for every output instant of a run (the window's time
    // list), counted by the memory guard.
    std::size_t callerBytesPerInstant = 0;
    // Runs on the calling thread while the workers compute (progress, cancellation).
    RunWatcher watchRun;
    FastPathOptions fastPath;  // kernel and threads (tests and benchmarks choose them)

  private:
    // One engine call per period of periodGrid, in grid order, into histories of their
    // own; false (after the engine-failure message) when the engine fails.
    bool AnalysePeriods(const TimeHistory& record, double dampingRatio, double gravity);
    // Maps the block for rows rows over the grid, lays the histories over it and says
    // where the fast path writes.
    FastPathOutput MapRows(std::size_t rows);

    MessageCallback showMessage;
    StoreMemory memory;
};
