// The running-spectra recurrence written out step by step, appending to the rows as it
// goes: the bit-for-bit reference for the engine's faster paths.
#pragma once

#include "engine/History.h"

// Same contract as ComputeRunningSpectra for valid input (T > 0, dt > 0, |zeta| < 1),
// without its guards.
bool ReferenceRunningSpectra(const TimeHistory& record, double gravity, double stepRatio,
                             double zeta, double T, History& sd, History& sv, History& sa,
                             History& psv, History& psa);
