// The plan of one period: the sub-step count of a record step and the exact step
// coefficients of a damped single-degree-of-freedom oscillator under a ground acceleration
// that varies linearly within the step (Nigam and Jennings).
#pragma once

// With x in cm, v in cm/s and p (ground acceleration) in cm/s2:
//   x[i+1] = a11 x[i] + a12 v[i] + b11 p[i] + b12 p[i+1]
//   v[i+1] = a21 x[i] + a22 v[i] + b21 p[i] + b22 p[i+1]
// The minus sign of the excitation is inside the b coefficients.
struct StepCoefficients {
    double a11, a12, a21, a22;
    double b11, b12, b21, b22;
};

// Coefficients for damping ratio zeta (|zeta| < 1), step h in s (> 0) and circular
// frequency omega in rad/s (> 0), each correctly rounded or within an ulp or so of it.
// Inputs are not checked; for zeta = +-1 or |zeta| > 1 the free-response coefficients are
// not numbers (they divide by the damped frequency, 0 or not a number there).
StepCoefficients ComputeStepCoefficients(double zeta, double h, double omega);

// Sub-stepping of one period over records of one sampling interval.
struct PeriodPlan {
    double omega;    // circular frequency 6.2831852 / T, rad/s
    int subSteps;    // sub-steps per record step
    double subStep;  // sub-step length, s
};

// Plans the period T (s) for a sampling interval dt (s) and a sub-step bound of
// stepRatio * T: trunc(dt / (T * stepRatio) + 1) sub-steps, so a sub-step is always
// shorter than the bound. Throws DivisionByZeroError for T = 0 or a sub-step count of 0,
// and InvalidOperationError when the count is not a number or outside the int range.
PeriodPlan PlanPeriod(double dt, double T, double stepRatio);

// Step coefficients of the plan's sub-step for the damping ratio zeta. Throws
// DivisionByZeroError for a sub-step of 0 s (the coefficients divide by it).
StepCoefficients PlanCoefficients(const PeriodPlan& plan, double zeta);

// Number of sub-steps per record step, as PlanPeriod counts them.
int SubStepCount(double dt, double T, double stepRatio);
