// Analysis of one record: refusals, the rows of the store, one engine run per period.
#include <cmath>
#include <string>

#include "engine/ResultStore.h"
#include "engine/RunningSpectra.h"
#include "engine/StoreText.h"
#include "records/Errors.h"
#include "records/NumberText.h"

namespace {

// Refuses, before anything changes, input the oscillator formulas cannot handle and a
// store that would not fit in the memory allowed.
void CheckAnalysisInput(const TimeHistory& record, double dampingRatio, std::size_t periods,
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
    const std::size_t needed =
        ResultStore::StoreBytes(static_cast<std::size_t>(record.Count()), periods);
    if (needed > limitBytes) {
        throw ParameterError("The results of record '" + record.GetName() + "' need " +
                             ByteSizeText(needed) + " of memory, more than the limit of " +
                             ByteSizeText(limitBytes));
    }
}

}  // namespace

void ResultStore::AnalyseRecord(TimeHistory* record, double dampingRatio, double gravity) {
    CheckAnalysisInput(*record, dampingRatio, periodGrid.size(), storeLimitBytes);
    ClearResults();  // rows of an earlier run would otherwise receive this run's values
    currentRecord = record;
    const std::size_t rows = record->Count() < 2 ? 0 : record->Count() - 1;
    for (History* history : {&sdHistory, &svHistory, &saHistory, &psvHistory, &psaHistory}) {
        history->resize(rows);
        for (DOUBLEVECTOR& row : *history) {
            row.reserve(periodGrid.size());
        }
    }
    for (double T : periodGrid) {
        if (!ComputeRunningSpectra(*record, gravity, kStepRatio, dampingRatio, T, sdHistory,
                                   svHistory, saHistory, psvHistory, psaHistory)) {
            if (showMessage) {
                showMessage("Error calculation for DampingRatio: " + FormatGeneral(dampingRatio) +
                            "& Period: " + FormatGeneral(T));
            }
            break;
        }
    }
}
