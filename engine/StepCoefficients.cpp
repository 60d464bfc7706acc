// Exact step coefficients of a damped oscillator under piecewise-linear excitation.
#include "engine/StepCoefficients.h"

#include <cmath>

StepCoefficients ComputeStepCoefficients(double zeta, double h, double omega) {
    const double e = std::exp(-zeta * omega * h);
    const double omega2 = omega * omega;
    const double omega3 = omega2 * omega;
    const double omegaD = omega * std::sqrt(1 - zeta * zeta);  // damped circular frequency
    const double s = std::sin(omegaD * h);
    const double c = std::cos(omegaD * h);

    StepCoefficients k{};
    k.a11 = e * (c + zeta * omega * s / omegaD);
    k.a12 = e * s / omegaD;
    k.a21 = -omega2 * e * s / omegaD;
    k.a22 = e * (c - zeta * omega * s / omegaD);

    // Terms of the particular solution for a linearly varying ground acceleration.
    const double a = (2 * zeta * zeta - 1) / (omega2 * h);
    const double b = 2 * zeta / (omega3 * h);
    const double p = c - zeta * omega * s / omegaD;
    const double q = omegaD * s + zeta * omega * c;

    k.b11 = e * ((zeta / omega + a) * s / omegaD + (1 / omega2 + b) * c) - b;
    k.b12 = -e * (a * s / omegaD + b * c) - 1 / omega2 + b;
    k.b21 = e * ((zeta / omega + a) * p - (1 / omega2 + b) * q) + 1 / (omega2 * h);
    k.b22 = -e * (a * p - b * q) - 1 / (omega2 * h);
    return k;
}
