// The plan of one period: sub-step count and exact step coefficients.
#include "engine/StepCoefficients.h"

#include <cmath>

#include "records/Errors.h"

namespace {

// Circular frequency of a period; the system uses this value of 2 pi throughout.
constexpr double kTwoPi = 6.2831852;

// The coefficients are evaluated in extended precision (64-bit significand on x86) and
// rounded to double once at the end.
using Real = long double;

// Below this omega * h the closed forms of the b coefficients cancel too much: their terms
// are about 1 / (omega^3 h) while the result is about h^2, so they lose about 1 / (omega h)^3
// of their precision (7 digits at omega h = 0.006, 13 digits at 6e-5). There the power
// series of the same integrals is used; it needs about 20 terms at 0.5 and fewer below.
constexpr Real kSeriesBelow = 0.5L;
constexpr int kMaxSeriesTerms = 60;

struct Excitation {
    Real b11, b12, b21, b22;
};

// The b coefficients as integrals of the impulse response G (G'' + 2 zeta omega G' +
// omega^2 G = 0, G(0) = 0, G'(0) = 1) against the ramps of a linear load:
//   b11 = -(1/h) int_0^h G(u) u du,   b12 = -(1/h) int_0^h G(u) (h - u) du,
//   b21 = -(1/h) int_0^h G'(u) u du,  b22 = -(1/h) int_0^h G'(u) (h - u) du,
// with G(u) = sum g_n u^n / n!. In q_n = g_n h^(n-1) (q_0 = 0, q_1 = 1,
// q_(n+2) = -2 zeta r q_(n+1) - r^2 q_n, r = omega h) every term is positive powers of r:
//   b11 = -h^2 sum_(n>=1) q_n / (n! (n+2)),   b12 = -h^2 sum_(n>=1) q_n / (n! (n+1) (n+2)),
//   b21 = -h sum_(n>=1) q_n / ((n-1)! (n+1)),  b22 = -h sum_(n>=1) q_n / ((n-1)! n (n+1)).
Excitation SeriesExcitation(Real zeta, Real h, Real r) {
    Real s11 = 0, s12 = 0, s21 = 0, s22 = 0;
    Real qPrevious = 0, q = 1;  // q_(n-1), q_n
    Real factorialBefore = 1;   // (n-1)!
    Real termBefore = 1;
    for (int n = 1; n <= kMaxSeriesTerms; ++n) {
        const Real k = n;
        const Real term = q / factorialBefore;  // q_n / (n-1)!
        s11 += term / (k * (k + 2));
        s12 += term / (k * (k + 1) * (k + 2));
        s21 += term / (k + 1);
        s22 += term / (k * (k + 1));
        // The sums are about 1; every other q_n is 0 without damping, so two terms in a
        // row must be negligible.
        if (std::fabs(term) + std::fabs(termBefore) < 1e-24L) {
            break;
        }
        termBefore = term;
        const Real qNext = -2 * zeta * r * q - r * r * qPrevious;
        qPrevious = q;
        q = qNext;
        factorialBefore *= k;
    }
    return {-h * h * s11, -h * h * s12, -h * s21, -h * s22};
}

// The closed forms: with A = (2 zeta^2 - 1) / (omega^2 h), B = 2 zeta / (omega^3 h),
// P = C - zeta omega S / omegaD and Q = omegaD S + zeta omega C.
Excitation ClosedFormExcitation(Real zeta, Real h, Real omega, Real e, Real s, Real c,
                                Real omegaD) {
    const Real omega2 = omega * omega;
    const Real omega3 = omega2 * omega;
    const Real a = (2 * zeta * zeta - 1) / (omega2 * h);
    const Real b = 2 * zeta / (omega3 * h);
    const Real p = c - zeta * omega * s / omegaD;
    const Real q = omegaD * s + zeta * omega * c;
    return {e * ((zeta / omega + a) * s / omegaD + (1 / omega2 + b) * c) - b,
            -e * (a * s / omegaD + b * c) - 1 / omega2 + b,
            e * ((zeta / omega + a) * p - (1 / omega2 + b) * q) + 1 / (omega2 * h),
            -e * (a * p - b * q) - 1 / (omega2 * h)};
}

}  // namespace

StepCoefficients ComputeStepCoefficients(double zetaIn, double hIn, double omegaIn) {
    const Real zeta = zetaIn, h = hIn, omega = omegaIn;
    const Real e = std::exp(-zeta * omega * h);
    const Real omega2 = omega * omega;
    const Real omegaD = omega * std::sqrt(1 - zeta * zeta);  // damped circular frequency
    const Real s = std::sin(omegaD * h);
    const Real c = std::cos(omegaD * h);

    const Real r = omega * h;
    const Excitation x = std::fabs(r) < kSeriesBelow
                             ? SeriesExcitation(zeta, h, r)
                             : ClosedFormExcitation(zeta, h, omega, e, s, c, omegaD);
    StepCoefficients k{};
    k.a11 = static_cast<double>(e * (c + zeta * omega * s / omegaD));
    k.a12 = static_cast<double>(e * s / omegaD);
    k.a21 = static_cast<double>(-omega2 * e * s / omegaD);
    k.a22 = static_cast<double>(e * (c - zeta * omega * s / omegaD));
    k.b11 = static_cast<double>(x.b11);
    k.b12 = static_cast<double>(x.b12);
    k.b21 = static_cast<double>(x.b21);
    k.b22 = static_cast<double>(x.b22);
    return k;
}

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

int SubStepCount(double dt, double T, double stepRatio) {
    return PlanPeriod(dt, T, stepRatio).subSteps;
}
