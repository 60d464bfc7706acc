// Analysis of one record: refusals, the store's block, the fast path over the whole grid.
#include <cmath>
#include <exception>
#include <string>

#include "engine/FastPath.h"
#include "engine/ResultStore.h"
#include "engine/RunningResponse.h"
#include "engine/StoreText.h"
#include "records/Errors.h"
#include "records/NumberText.h"

namespace {

// Refuses, before anything changes, input the oscillator formulas cannot handle and a run
// that would not fit in the memory allowed.
void CheckAnalysisInput(const TimeHistory& record, double dampingRatio, std::size_t neededBytes,
                        std::size_t limitBytes) {
    if (!(std::fabs(dampingRatio) < 1)) {
        throw ParameterError("Damping Ratio must be between -1 and 1 (it is " +
                             FormatGeneral(dampingRatio) + ")");
    }
    if (!(record.GetTimeStep() > 0)) {
        throw ParameterError("Time step of record '" + record.GetName() +
                             "' must be greater than 0 (it is " +
                             FormatGeneral(record.GetTimeStep()) + ")");
    }
    if (neededBytes > limitBytes) {
        throw ParameterError("The results of record '" + record.GetName() + "' need " +
                             ByteSizeText(neededBytes) + " of memory, more than the limit of " +
                             ByteSizeText(limitBytes));
    }
}

}  // namespace

bool ResultStore::AnalyseRecord(TimeHistory* record, double dampingRatio, double gravity) {
    const std::size_t samples = static_cast<std::size_t>(record->Count());
    CheckAnalysisInput(*record, dampingRatio, RunBytes(samples, periodGrid.size()),
                       storeLimitBytes);
    ClearResults();  // rows of an earlier run would otherwise receive this run's values
    TimeHistory* const previousRecord = currentRecord;
    currentRecord = record;
    const std::size_t rows = samples < 2 ? 0 : samples - 1;
    // The kernels divide by |gravity| once per record step; any other gravity takes the
    // reference path, which raises its fault.
    const bool fastGravity = std::isfinite(gravity) && gravity != 0;
    if (rows == 0 || periodGrid.empty() || !fastGravity) {
        for (History* history : {&sdHistory, &svHistory, &saHistory, &psvHistory, &psaHistory}) {
            *history = History(rows);
        }
        AnalysePeriods(*record, dampingRatio, gravity);
        return true;
    }

    const FastPathOutput output = MapRows(rows);
    const FastPathInput input{record->GetAcc().data(),
                              samples,
                              record->GetTimeStep(),
                              gravity,
                              kStepRatio,
                              dampingRatio,
                              periodGrid.data(),
                              periodGrid.size()};
    const FastPathResult result = RunFastPath(input, output, fastPath, watchRun);
    if (result.cancelled) {
        ClearResults();
        currentRecord = previousRecord;
        return false;
    }
    for (History* history : {&sdHistory, &svHistory, &saHistory, &psvHistory, &psaHistory}) {
        history->SetWidth(result.completedPeriods);
    }
    if (result.error) {
        std::rethrow_exception(result.error);
    }
    return true;
}

FastPathOutput ResultStore::MapRows(std::size_t rows) {
    const std::size_t stride = RowStride(periodGrid.size());
    memory.Map(StoreBytes(rows + 1, periodGrid.size()));
    double* base = reinterpret_cast<double*>(memory.Block().data());
    FastPathOutput output{{}, stride, memory.Block()};
    History* const histories[5] = {&sdHistory, &svHistory, &saHistory, &psvHistory, &psaHistory};
    for (std::size_t q = 0; q < 5; ++q) {
        output.histories[q] = base + q * rows * stride;  // the five histories one after another
        *histories[q] = History::OverBlock(output.histories[q], rows, stride);
    }
    return output;
}

bool ResultStore::AnalysePeriods(const TimeHistory& record, double dampingRatio, double gravity) {
    for (double T : periodGrid) {
        if (!ComputeRunningSpectra(record, gravity, kStepRatio, dampingRatio, T, sdHistory,
                                   svHistory, saHistory, psvHistory, psaHistory)) {
            if (showMessage) {
                showMessage("Error calculation for DampingRatio: " + FormatGeneral(dampingRatio) +
                            "& Period: " + FormatGeneral(T));
            }
            return false;
        }
    }
    return true;
}
