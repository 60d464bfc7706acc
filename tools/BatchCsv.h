// Writing running spectra from the result store as CSV.
#pragma once

#include <cstddef>
#include <ostream>
#include <vector>

#include "engine/ResultStore.h"

// Row of the histories (instant (row + 1) * dt) nearest to atSeconds, clamped to the
// record's instants. rowCount must be at least 1.
std::size_t NearestInstantRow(double atSeconds, double timeStep, std::size_t rowCount);

// Writes the header and one line per period for each of the given rows; with withTime a
// leading time_s column holds the instant (row + 1) * timeStep. Numbers keep 17
// significant digits so nothing is lost.
void WriteBatchCsv(std::ostream& out, const ResultStore& store, double timeStep,
                   const std::vector<std::size_t>& rows, bool withTime);
