// The reference path: the running-spectra recurrence of one period, step by step.
#include "engine/RunningResponse.h"

#include <array>
#include <cmath>
#include <initializer_list>
#include <span>
#include <vector>

#include "records/Errors.h"

namespace {

// Raises the arithmetic error a non-finite value stands for: an infinity comes from an
// overflow, a not-a-number (without an infinity beside it) from an invalid operation.
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

}  // namespace

void RunReferencePeriod(const double* acc, std::size_t count, double gravity, double zeta,
                        const PeriodPlan& plan, const StepCoefficients& k,
                        const SpectrumColumns& out) {
    const double omega = plan.omega;
    const int nsub = plan.subSteps;
    double x = 0, v = 0, maxD = 0, maxV = 0, maxA = 0;
    for (std::size_t j = 1; j < count; ++j) {
        const double delta = (acc[j] - acc[j - 1]) * gravity / nsub;
        for (int n = 1; n <= nsub; ++n) {
            const double p0 = (n - 1) * delta + gravity * acc[j - 1];
            const double p1 = n * delta + gravity * acc[j - 1];
            const double x1 = k.a11 * x + k.a12 * v + k.b11 * p0 + k.b12 * p1;
            const double v1 = k.a21 * x + k.a22 * v + k.b21 * p0 + k.b22 * p1;
            const double alpha = -(2 * zeta * omega * v1 + omega * omega * x1) / gravity;
            if (std::fabs(x1) > maxD) {
                maxD = std::fabs(x1);
            }
            if (std::fabs(v1) > maxV) {
                maxV = std::fabs(v1);
            }
            if (std::fabs(alpha) > maxA) {
                maxA = std::fabs(alpha);
            }
            x = x1;
            v = v1;
        }
        const double psv = omega * maxD;
        const double psa = omega * omega * maxD / gravity;
        // The ground acceleration is checked too: an overflow there is the first fault.
        CheckFinite({delta, gravity * acc[j], x, v, maxD, maxV, maxA, psv, psa});
        const std::size_t at = (j - 1) * out.stride;
        out.sd[at] = maxD;
        out.sv[at] = maxV;
        out.sa[at] = maxA;
        out.psv[at] = psv;
        out.psa[at] = psa;
    }
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
