// Exact step coefficients of a damped single-degree-of-freedom oscillator under a ground
// acceleration that varies linearly within the step (Nigam and Jennings).
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
// frequency omega in rad/s (> 0). Inputs are not checked.
StepCoefficients ComputeStepCoefficients(double zeta, double h, double omega);
