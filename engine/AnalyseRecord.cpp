// Analysis of one record: refusals, the rows of the store, one engine run per period.
#include <algorithm>
#include <cmath>
#include <string>

#include "engine/PeriodBlock.h"
#include "engine/ResultStore.h"
#include "engine/RunningResponse.h"
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
    if (rows == 0) {
        AnalysePeriods(*record, dampingRatio, gravity, 0, periodGrid.size());
        return;
    }
    const HistorySet out{&sdHistory, &svHistory, &saHistory, &psvHistory, &psaHistory};
    for (std::size_t first = 0; first < periodGrid.size(); first += kPeriodBlock) {
        const std::size_t count = std::min(kPeriodBlock, periodGrid.size() - first);
        if (!RunPeriodBlock(record->GetAcc(), record->GetTimeStep(), gravity, kStepRatio,
                            dampingRatio, periodGrid.data() + first, count, out)) {
            // A fault: drop the block's partial values and redo it period by period, which
            // keeps the periods before the faulty one and raises its error.
            for (History* history : {out.sd, out.sv, out.sa, out.psv, out.psa}) {
                for (DOUBLEVECTOR& row : *history) {
                    row.resize(first);
                }
            }
            AnalysePeriods(*record, dampingRatio, gravity, first, count);
        }
    }
}

bool ResultStore::AnalysePeriods(const TimeHistory& record, double dampingRatio, double gravity,
                                 std::size_t first, std::size_t count) {
    for (std::size_t j = first; j < first + count; ++j) {
        const double T = periodGrid[j];
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
