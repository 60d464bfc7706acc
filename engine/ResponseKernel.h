// Internal stepping kernel: one oscillator through a whole record, results into columns.
#pragma once

#include <cstddef>

#include "engine/StepCoefficients.h"
#include "records/Timeserie.h"

// Sub-stepping of one period over records of one sampling interval.
struct PeriodPlan {
    double omega;    // circular frequency 6.2831852 / T, rad/s
    int subSteps;    // sub-steps per record step
    double subStep;  // sub-step length, s
};

// Plans the period T (s) for a sampling interval dt (s) and a sub-step bound of
// stepRatio * T. Throws DivisionByZeroError for T = 0 or a sub-step count of 0, and
// InvalidOperationError when the sub-step count is not a number or outside the int range.
PeriodPlan PlanPeriod(double dt, double T, double stepRatio);

// Step coefficients of the plan's sub-step for the damping ratio zeta. Throws
// DivisionByZeroError for a sub-step of 0 s (the coefficients divide by it).
StepCoefficients PlanCoefficients(const PeriodPlan& plan, double zeta);

// Where the kernel writes: value of record step J (1 .. n-1) goes to index (J-1)*stride
// of each column. Units: sd cm, sv cm/s, sa g, psv cm/s, psa g.
struct SpectrumColumns {
    double* sd;
    double* sv;
    double* sa;
    double* psv;
    double* psa;
    std::size_t stride;
};

// Drives the oscillator (damping ratio zeta, plan, coefficients) from rest through the
// samples acc (g, times gravity in cm/s2 per g) and writes the running maxima after every
// record step. Throws OverflowError / InvalidOperationError as soon as a record step ends
// with a non-finite state or value; nothing of that step is written.
void RunPeriod(const DOUBLEVECTOR& acc, double gravity, double zeta, const PeriodPlan& plan,
               const StepCoefficients& k, const SpectrumColumns& out);
