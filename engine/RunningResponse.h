// Running maxima of the response of one oscillator driven through a whole record.
#pragma once

#include "engine/History.h"
#include "records/Timeserie.h"

// Drives the oscillator of period T (s) and damping ratio zeta through the record
// (accelerations in g, multiplied by gravity in cm/s2 per g), with nsub sub-steps per
// record step so that each sub-step is shorter than stepRatio * T, and appends after every
// record step J = 1 .. n-1 one value to row J-1 of each history: the running maxima of
// |relative displacement| (cm), |relative velocity| (cm/s), |absolute acceleration| (g),
// and pseudo-velocity omega*maxD (cm/s) and pseudo-acceleration omega^2*maxD/gravity (g).
// The caller guarantees n-1 rows per history. Returns false, appending nothing, when the
// record has no samples. Throws OverflowError / InvalidOperationError when the response
// is not finite, before anything non-finite is appended.
bool ComputeRunningSpectra(const TimeHistory& record, double gravity, double stepRatio, double zeta,
                           double T, History& sdHistory, History& svHistory, History& saHistory,
                           History& psvHistory, History& psaHistory);

// Number of sub-steps per record step for a sampling interval dt (s), period T (s) and
// sub-step bound stepRatio * T: trunc(dt / (T * stepRatio) + 1), so a sub-step is always
// shorter than the bound. Throws InvalidOperationError outside the int range.
int SubStepCount(double dt, double T, double stepRatio);
