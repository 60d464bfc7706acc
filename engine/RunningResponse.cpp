// Running spectra of one period: the stepping kernel, then one value appended per row.
#include "engine/RunningResponse.h"

#include <array>
#include <vector>

#include "engine/ResponseKernel.h"

int SubStepCount(double dt, double T, double stepRatio) {
    return PlanPeriod(dt, T, stepRatio).subSteps;
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
    RunPeriod(acc, gravity, zeta, plan, k,
              {base, base + steps, base + 2 * steps, base + 3 * steps, base + 4 * steps, 1});

    const std::array<History*, 5> histories{&sdHistory, &svHistory, &saHistory, &psvHistory,
                                            &psaHistory};
    for (std::size_t r = 0; r < steps; ++r) {
        for (std::size_t q = 0; q < histories.size(); ++q) {
            (*histories[q])[r].push_back(base[q * steps + r]);
        }
    }
    return true;
}
