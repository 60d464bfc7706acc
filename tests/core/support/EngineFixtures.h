// Records and result rows the engine and store tests build.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "engine/History.h"
#include "records/Timeserie.h"

// A record named name with sampling interval dt (s) and the samples (g).
std::unique_ptr<TimeHistory> MakeRecord(const std::string& name, double dt,
                                        const std::vector<double>& samples);

// A deterministic accelerogram of n samples at dt s: a few sines of different periods
// under a build-up and decay envelope, peak about peakG g.
std::vector<double> SyntheticAccelerogram(std::size_t n, double dt, double peakG);

// The five histories of one analysis, each with a given number of empty rows.
struct SpectrumRows {
    explicit SpectrumRows(std::size_t rows = 0);
    History sd, sv, sa, psv, psa;
};

// Runs ComputeRunningSpectra into rows, one call.
bool RunEngine(const TimeHistory& record, double zeta, double T, SpectrumRows& rows);

constexpr double kGravity = 980.0;   // cm/s2 per g
constexpr double kStepRatio = 0.02;  // sub-step bound as a fraction of the period
