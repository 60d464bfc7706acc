// The running-spectra recurrence written out step by step.
#include "support/ReferenceRecurrence.h"

#include <cmath>

#include "engine/StepCoefficients.h"

bool ReferenceRunningSpectra(const TimeHistory& record, double gravity, double stepRatio,
                             double zeta, double T, History& sd, History& sv, History& sa,
                             History& psv, History& psa) {
    const double omega = 6.2831852 / T;
    const double dt = record.GetTimeStep();
    const int nsub = static_cast<int>(dt / (T * stepRatio) + 1);
    const double h = dt / nsub;
    const int n = record.Count();
    if (n == 0) {
        return false;
    }
    const DOUBLEVECTOR& a = record.GetAcc();
    double x = 0, v = 0, maxD = 0, maxV = 0, maxA = 0;
    const StepCoefficients k = ComputeStepCoefficients(zeta, h, omega);
    for (int J = 1; J <= n - 1; ++J) {
        const double delta = (a[J] - a[J - 1]) * gravity / nsub;
        for (int N = 1; N <= nsub; ++N) {
            const double p0 = (N - 1) * delta + gravity * a[J - 1];
            const double p1 = N * delta + gravity * a[J - 1];
            const double x1 = k.a11 * x + k.a12 * v + k.b11 * p0 + k.b12 * p1;
            const double v1 = k.a21 * x + k.a22 * v + k.b21 * p0 + k.b22 * p1;
            const double alpha = -(2 * zeta * omega * v1 + omega * omega * x1) / gravity;
            if (std::fabs(x1) > maxD)
                maxD = std::fabs(x1);
            if (std::fabs(v1) > maxV)
                maxV = std::fabs(v1);
            if (std::fabs(alpha) > maxA)
                maxA = std::fabs(alpha);
            x = x1;
            v = v1;
        }
        sd[J - 1].push_back(maxD);
        sv[J - 1].push_back(maxV);
        sa[J - 1].push_back(maxA);
        psv[J - 1].push_back(omega * maxD);
        psa[J - 1].push_back(omega * omega * maxD / gravity);
    }
    return true;
}
