// The response history of one oscillator over a whole record, for looking at one period of
// an analysis: the relative displacement at every sub-step end, its running maximum after
// every record step, and when |x|, |v| and |absolute acceleration| peaked. Computed on
// demand by the reference recurrence with the plan of the analysis, so its running maximum
// is the store's displacement history of that period, bit for bit.
#pragma once

#include <cstddef>
#include <vector>

#include "engine/History.h"
#include "engine/StepCoefficients.h"
#include "records/Timeserie.h"

// The largest magnitude of a response quantity and the instant (s from the record's start)
// of the sub-step end where it was first reached; 0 at 0 s while the oscillator is at rest.
struct ResponsePeak {
    double value = 0.0;
    double timeS = 0.0;
};

struct OscillatorHistory {
    PeriodPlan plan;  // circular frequency, sub-steps per record step, sub-step length (s)
    // Relative displacement (cm) at i * plan.subStep s for i = 0 .. (count-1) * subSteps:
    // at rest at 0 s, then at every sub-step end.
    std::vector<double> displacementCm;
    // Running maximum of |x| (cm) after record step J = 1 .. count-1, at index J-1: the
    // value the store keeps in row J-1 of its displacement history.
    std::vector<double> maxDisplacementCm;
    ResponsePeak displacement;  // cm
    ResponsePeak velocity;      // cm/s
    ResponsePeak acceleration;  // g, absolute acceleration

    // Time (s) of displacement point i.
    double PointTime(std::size_t i) const { return static_cast<double>(i) * plan.subStep; }
};

// Drives the oscillator of period T (s) and damping ratio zeta through record (g, times
// gravity in cm/s2 per g) with the sub-steps of a run with the sub-step bound
// stepRatio * T. A record without samples gives empty histories. Throws as PlanPeriod and
// PlanCoefficients do, and OverflowError / InvalidOperationError for a response that is not
// finite.
OscillatorHistory ComputeOscillatorHistory(const TimeHistory& record, double gravity,
                                           double stepRatio, double zeta, double T);

// Displacement points ComputeOscillatorHistory keeps for a record of sampleCount samples at
// the time step dt (s): one at rest and one at every sub-step end of period T (s) with the
// sub-step bound stepRatio * T; saturates at SIZE_MAX. Throws as PlanPeriod does.
std::size_t OscillatorPointCount(std::size_t sampleCount, double dt, double T, double stepRatio);

// The values of period column periodIndex of history, one per row in row order (the running
// maximum of that period after every record step); rows too short give nothing from there on.
std::vector<double> PeriodColumn(const History& history, std::size_t periodIndex);
