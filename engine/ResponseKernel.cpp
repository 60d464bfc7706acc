// Stepping kernel of the piecewise-exact oscillator recurrence.
#include "engine/ResponseKernel.h"

#include <cmath>

#include "records/Errors.h"

namespace {

// Circular frequency of a period; the system uses this value of 2 pi throughout.
constexpr double kTwoPi = 6.2831852;

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

PeriodPlan PlanPeriod(double dt, double T, double stepRatio) {
    if (T == 0) {
        throw DivisionByZeroError();
    }
    PeriodPlan plan{};
    plan.omega = kTwoPi / T;
    // Truncation toward zero; a ratio outside the int range would be undefined behaviour.
    const double count = dt / (T * stepRatio) + 1;
    if (!(count > -2147483649.0 && count < 2147483648.0)) {
        throw InvalidOperationError();
    }
    plan.subSteps = static_cast<int>(count);
    if (plan.subSteps == 0) {
        throw DivisionByZeroError();
    }
    plan.subStep = dt / plan.subSteps;
    return plan;
}

StepCoefficients PlanCoefficients(const PeriodPlan& plan, double zeta) {
    if (plan.subStep == 0) {
        throw DivisionByZeroError();
    }
    return ComputeStepCoefficients(zeta, plan.subStep, plan.omega);
}

void RunPeriod(const DOUBLEVECTOR& acc, double gravity, double zeta, const PeriodPlan& plan,
               const StepCoefficients& k, const SpectrumColumns& out) {
    const double omega = plan.omega;
    const int nsub = plan.subSteps;
    double x = 0, v = 0, maxD = 0, maxV = 0, maxA = 0;
    for (std::size_t j = 1; j < acc.size(); ++j) {
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
