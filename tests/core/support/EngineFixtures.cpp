// Records and result rows the engine and store tests build.
#include "support/EngineFixtures.h"

#include <cmath>

#include "engine/RunningResponse.h"

std::unique_ptr<TimeHistory> MakeRecord(const std::string& name, double dt,
                                        const std::vector<double>& samples) {
    auto record = std::make_unique<TimeHistory>(name, dt);
    for (double a : samples) {
        record->AddSample(a);
    }
    return record;
}

std::vector<double> SyntheticAccelerogram(std::size_t n, double dt, double peakG) {
    std::vector<double> acc(n);
    const double duration = static_cast<double>(n) * dt;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) * dt;
        const double envelope = std::sin(3.14159265358979 * t / duration);
        const double wave = 0.5 * std::sin(2 * 3.14159265358979 * t / 0.31) +
                            0.3 * std::sin(2 * 3.14159265358979 * t / 0.87 + 1.0) +
                            0.2 * std::sin(2 * 3.14159265358979 * t / 0.07 + 2.0);
        acc[i] = peakG * envelope * envelope * wave;
    }
    return acc;
}

SpectrumRows::SpectrumRows(std::size_t rows) : sd(rows), sv(rows), sa(rows), psv(rows), psa(rows) {}

bool RunEngine(const TimeHistory& record, double zeta, double T, SpectrumRows& rows) {
    return ComputeRunningSpectra(record, kGravity, kStepRatio, zeta, T, rows.sd, rows.sv, rows.sa,
                                 rows.psv, rows.psa);
}
