// A result history: one row per output instant, one value per period of the grid.
#pragma once

#include <vector>

#include "records/Timeserie.h"

// Row r belongs to the instant (r + 1) * dt; entry j of a row to period j of the grid.
using History = std::vector<DOUBLEVECTOR>;
