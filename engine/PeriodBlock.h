// Several periods stepped side by side through a record, one record step at a time, so
// that every result row receives the block's values in one contiguous append.
#pragma once

#include <cstddef>

#include "engine/History.h"

// The five histories a block appends to: sd cm, sv cm/s, sa g, psv cm/s, psa g.
struct HistorySet {
    History* sd;
    History* sv;
    History* sa;
    History* psv;
    History* psa;
};

// Steps the oscillators of the periods T[0 .. count) (s, damping ratio zeta) through the
// samples acc (g, record step dt s, gravity cm/s2 per g) and appends count values to each
// of the rows 0 .. n-2 of each history, giving exactly the bits of ComputeRunningSpectra
// called period after period. Returns false when anything became non-finite (checked once,
// at the end), when a period cannot be planned or when gravity is not a finite non-zero
// number: the rows may then hold part of the block, possibly non-finite, and the caller
// drops them and redoes the block period by period, which raises the fault's error.
bool RunPeriodBlock(const DOUBLEVECTOR& acc, double dt, double gravity, double stepRatio,
                    double zeta, const double* T, std::size_t count, const HistorySet& out);
