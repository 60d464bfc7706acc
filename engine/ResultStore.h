// The result store: period grid, frequencies, the record analysed last and the five
// running-spectrum histories, with the operations that fill and clear them.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "engine/History.h"
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

    // Frees every row of the five histories. Grids and currentRecord stay.
    void ClearResults();

    // Rebuilds periodGrid (s, ascending, by repeated addition of periodStep) and
    // frequencyGrid (Hz, 1/T). Throws ParameterError for a step not greater than 0 or a
    // grid of more than kMaxPeriods periods (before touching the grids), and
    // DivisionByZeroError for a period of 0.
    void BuildPeriodGrid(double minPeriod, double maxPeriod, double periodStep);

    // Makes record (not null) the currentRecord and fills the histories for the current
    // periodGrid (sd cm, sv cm/s, sa g, psv cm/s, psa g); gravity is 1 g in cm/s2. Throws
    // ParameterError, before changing anything, for |dampingRatio| >= 1, a time step not
    // greater than 0, or a store larger than storeLimitBytes. Rows left by an earlier run
    // are cleared first. An engine failure (no samples) is reported through the message
    // callback. Arithmetic faults of the engine propagate; the periods completed before
    // the fault stay, with the same number of values in every row.
    void AnalyseRecord(TimeHistory* record, double dampingRatio, double gravity);

    // Bytes the five histories of a record of sampleCount samples over periodCount periods
    // need (values only): 5 * (sampleCount - 1) * periodCount * 8, saturating at SIZE_MAX.
    static std::size_t StoreBytes(std::size_t sampleCount, std::size_t periodCount);

    // Default limit on the store's size in bytes: half of the machine's physical memory
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
    std::size_t storeLimitBytes;           // refuse a run whose store would exceed this

  private:
    // Periods stepped side by side by the analysis (bounds its working set).
    static constexpr std::size_t kPeriodBlock = 1024;

    // One engine call per period of periodGrid[first .. first + count), in grid order;
    // false (after the engine-failure message) when the engine fails.
    bool AnalysePeriods(const TimeHistory& record, double dampingRatio, double gravity,
                        std::size_t first, std::size_t count);

    MessageCallback showMessage;
};
