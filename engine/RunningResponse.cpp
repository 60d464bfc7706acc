// The reference path: the running-spectra recurrence of one period, step by step.
#include "engine/RunningResponse.h"

#include <array>
#include <cmath>
#include <span>
#include <vector>

#include "engine/OscillatorWalk.h"
#include "records/Errors.h"

void CheckFinite(std::initializer_list<double> values) {
    bool nan = false;
    for (double value : values) {
        if (std::isinf(value)) {
            throw OverflowError();
        }
        nan = nan || std::isnan(value);
    }
    if (nan) {
        throw InvalidOperationError();
    }
}

void RunReferencePeriod(const double* acc, std::size_t count, double gravity, double zeta,
                        const PeriodPlan& plan, const StepCoefficients& k,
                        const SpectrumColumns& out) {
    WalkOscillator(
        acc, count, gravity, zeta, plan, k, [](const SubStepEnd&) {},
        [&out](std::size_t j, const RecordStepMaxima& maxima) {
            const std::size_t at = (j - 1) * out.stride;
            out.sd[at] = maxima.d;
            out.sv[at] = maxima.v;
            out.sa[at] = maxima.a;
            out.psv[at] = maxima.psv;
            out.psa[at] = maxima.psa;
        });
}

bool ComputeRunningSpectra(const TimeHistory& record, double gravity, double stepRatio, double zeta,
                           double T, History& sdHistory, History& svHistory, History& saHistory,
                           History& psvHistory, History& psaHistory) {
    const PeriodPlan plan = PlanPeriod(record.GetTimeStep(), T, stepRatio);
    const DOUBLEVECTOR& acc = record.GetAcc();
    if (acc.empty()) {
        return false;
    }
    const StepCoefficients k = PlanCoefficients(plan, zeta);

    // The whole period is computed before anything is appended, so a period that fails
    // leaves every row with the same number of values.
    const std::size_t steps = acc.size() - 1;
    std::vector<double> columns(5 * steps);
    double* base = columns.data();
    RunReferencePeriod(
        acc.data(), acc.size(), gravity, zeta, plan, k,
        {base, base + steps, base + 2 * steps, base + 3 * steps, base + 4 * steps, 1});
    const std::array<History*, 5> histories{&sdHistory, &svHistory, &saHistory, &psvHistory,
                                            &psaHistory};
    for (std::size_t q = 0; q < histories.size(); ++q) {
        histories[q]->AppendColumn(std::span<const double>(base + q * steps, steps));
    }
    return true;
}
