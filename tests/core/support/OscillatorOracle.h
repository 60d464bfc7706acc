// Slow, independent reference for the oscillator: fine Runge-Kutta integration.
#pragma once

#include <vector>

// State of the oscillator relative to the ground: displacement cm, velocity cm/s.
struct OscillatorState {
    double x;
    double v;
};

// Integrates x'' + 2 zeta omega x' + omega^2 x = -p(t) over one step of h s, p going
// linearly from p0 to p1 (cm/s2), with rkSteps classical fourth-order Runge-Kutta steps.
OscillatorState IntegrateLinearStep(double zeta, double omega, double h, OscillatorState start,
                                    double p0, double p1, int rkSteps);

// Whole-record spectrum values of one period, in the units of the result histories.
struct SpectrumPoint {
    double sd;   // cm
    double sv;   // cm/s
    double sa;   // g
    double psv;  // cm/s
    double psa;  // g
};

// Running maxima over the ends of the sub-steps, as the engine defines them, but with the
// response integrated numerically (rkSteps per sub-step) instead of the exact recurrence.
// acc in g, dt and T in s, gravity in cm/s2 per g.
SpectrumPoint OracleWholeRecordSpectrum(const std::vector<double>& acc, double dt, double gravity,
                                        double stepRatio, double zeta, double T, int rkSteps);
