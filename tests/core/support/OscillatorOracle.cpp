// Slow, independent reference for the oscillator: fine Runge-Kutta integration.
#include "support/OscillatorOracle.h"

#include <algorithm>
#include <cmath>

namespace {

struct Derivative {
    double dx;
    double dv;
};

Derivative Rate(double zeta, double omega, OscillatorState s, double p) {
    return {s.v, -p - 2 * zeta * omega * s.v - omega * omega * s.x};
}

OscillatorState Advance(OscillatorState s, Derivative d, double dt) {
    return {s.x + dt * d.dx, s.v + dt * d.dv};
}

}  // namespace

OscillatorState IntegrateLinearStep(double zeta, double omega, double h, OscillatorState start,
                                    double p0, double p1, int rkSteps) {
    const double dt = h / rkSteps;
    OscillatorState s = start;
    for (int i = 0; i < rkSteps; ++i) {
        // Ground acceleration at a fraction f of the step.
        auto p = [&](double f) { return p0 + (p1 - p0) * f; };
        const double f0 = static_cast<double>(i) / rkSteps;
        const double fm = (i + 0.5) / rkSteps;
        const double f1 = static_cast<double>(i + 1) / rkSteps;
        const Derivative k1 = Rate(zeta, omega, s, p(f0));
        const Derivative k2 = Rate(zeta, omega, Advance(s, k1, dt / 2), p(fm));
        const Derivative k3 = Rate(zeta, omega, Advance(s, k2, dt / 2), p(fm));
        const Derivative k4 = Rate(zeta, omega, Advance(s, k3, dt), p(f1));
        s.x += dt / 6 * (k1.dx + 2 * k2.dx + 2 * k3.dx + k4.dx);
        s.v += dt / 6 * (k1.dv + 2 * k2.dv + 2 * k3.dv + k4.dv);
    }
    return s;
}

SpectrumPoint OracleWholeRecordSpectrum(const std::vector<double>& acc, double dt, double gravity,
                                        double stepRatio, double zeta, double T, int rkSteps) {
    const double omega = 6.2831852 / T;
    const int nsub = static_cast<int>(std::trunc(dt / (T * stepRatio))) + 1;
    OscillatorState s{0, 0};
    double maxD = 0, maxV = 0, maxA = 0;
    for (std::size_t j = 1; j < acc.size(); ++j) {
        for (int k = 0; k < nsub; ++k) {
            const double f0 = static_cast<double>(k) / nsub;
            const double f1 = static_cast<double>(k + 1) / nsub;
            const double pa = gravity * (acc[j - 1] + (acc[j] - acc[j - 1]) * f0);
            const double pb = gravity * (acc[j - 1] + (acc[j] - acc[j - 1]) * f1);
            s = IntegrateLinearStep(zeta, omega, dt / nsub, s, pa, pb, rkSteps);
            maxD = std::max(maxD, std::fabs(s.x));
            maxV = std::max(maxV, std::fabs(s.v));
            maxA =
                std::max(maxA, std::fabs(2 * zeta * omega * s.v + omega * omega * s.x) / gravity);
        }
    }
    return {maxD, maxV, maxA, omega * maxD, omega * omega * maxD / gravity};
}
