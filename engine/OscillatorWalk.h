// The recurrence of one planned period, step by step: the one loop that both the running
// spectra of the reference path and the oscillator inspector's history drive, so that the
// two share every operation and its order (and so every bit of x, v and the maxima).
#pragma once

#include <cmath>
#include <cstddef>
#include <initializer_list>

#include "engine/StepCoefficients.h"

// The oscillator at the end of one sub-step: relative displacement x (cm), relative
// velocity v (cm/s), absolute acceleration alpha (g), and which running maxima of their
// magnitudes it has just raised (strictly: an equal value keeps the earlier instant).
struct SubStepEnd {
    double x;
    double v;
    double alpha;
    bool newMaxD;
    bool newMaxV;
    bool newMaxA;
};

// The running maxima after one record step: |x| (cm), |v| (cm/s), |alpha| (g), and the
// pseudo-velocity omega * maxD (cm/s) and pseudo-acceleration omega^2 * maxD / gravity (g).
struct RecordStepMaxima {
    double d;
    double v;
    double a;
    double psv;
    double psa;
};

// Raises the arithmetic error a non-finite value stands for: an infinity comes from an
// overflow, a not-a-number (without an infinity beside it) from an invalid operation.
void CheckFinite(std::initializer_list<double> values);

// Drives the oscillator of plan with coefficients k and damping ratio zeta from rest through
// the samples acc[0 .. count) (g, times gravity in cm/s2 per g). Calls atSubStep(end) after
// each of the plan's sub-steps and atRecordStep(j, maxima) after record step j = 1 .. count-1.
// Throws OverflowError / InvalidOperationError as soon as a record step ends with a
// non-finite state or value, before atRecordStep sees that step.
template <class AtSubStep, class AtRecordStep>
void WalkOscillator(const double* acc, std::size_t count, double gravity, double zeta,
                    const PeriodPlan& plan, const StepCoefficients& k, AtSubStep&& atSubStep,
                    AtRecordStep&& atRecordStep) {
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
            SubStepEnd end{x1, v1, alpha, false, false, false};
            if (std::fabs(x1) > maxD) {
                maxD = std::fabs(x1);
                end.newMaxD = true;
            }
            if (std::fabs(v1) > maxV) {
                maxV = std::fabs(v1);
                end.newMaxV = true;
            }
            if (std::fabs(alpha) > maxA) {
                maxA = std::fabs(alpha);
                end.newMaxA = true;
            }
            x = x1;
            v = v1;
            atSubStep(end);
        }
        const double psv = omega * maxD;
        const double psa = omega * omega * maxD / gravity;
        // The ground acceleration is checked too: an overflow there is the first fault.
        CheckFinite({delta, gravity * acc[j], x, v, maxD, maxV, maxA, psv, psa});
        atRecordStep(j, RecordStepMaxima{maxD, maxV, maxA, psv, psa});
    }
}
