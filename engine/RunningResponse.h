// The reference path: running maxima of the response of one oscillator driven through a
// whole record, with the recurrence written out exactly as defined, one period at a time.
// The fast path (FastPath.h) must give its bits; the tests use it as their oracle.
#pragma once

#include <cstddef>

#include "engine/History.h"
#include "engine/StepCoefficients.h"
#include "records/Timeserie.h"

// Drives the oscillator of period T (s) and damping ratio zeta through the record
// (accelerations in g, multiplied by gravity in cm/s2 per g), with nsub sub-steps per
// record step so that each sub-step is shorter than stepRatio * T, and appends after every
// record step J = 1 .. n-1 one value to row J-1 of each history: the running maxima of
// |relative displacement| (cm), |relative velocity| (cm/s), |absolute acceleration| (g),
// and pseudo-velocity omega*maxD (cm/s) and pseudo-acceleration omega^2*maxD/gravity (g).
// The caller guarantees n-1 rows per history. Returns false, appending nothing, when the
// record has no samples. Throws OverflowError / InvalidOperationError when the response
// is not finite, before anything is appended.
bool ComputeRunningSpectra(const TimeHistory& record, double gravity, double stepRatio, double zeta,
                           double T, History& sdHistory, History& svHistory, History& saHistory,
                           History& psvHistory, History& psaHistory);

// Where RunReferencePeriod writes: the value of record step J (1 .. n-1) goes to index
// (J-1)*stride of each column. Units: sd cm, sv cm/s, sa g, psv cm/s, psa g.
struct SpectrumColumns {
    double* sd;
    double* sv;
    double* sa;
    double* psv;
    double* psa;
    std::size_t stride;
};

// The recurrence of one planned period over the samples acc[0 .. count) (g, times gravity
// in cm/s2 per g), from rest, writing the running maxima after every record step. Throws
// OverflowError / InvalidOperationError as soon as a record step ends with a non-finite
// state or value; nothing of that step is written.
void RunReferencePeriod(const double* acc, std::size_t count, double gravity, double zeta,
                        const PeriodPlan& plan, const StepCoefficients& k,
                        const SpectrumColumns& out);
