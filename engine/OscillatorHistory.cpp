// One oscillator's response over a record, on the shared recurrence.
#include "engine/OscillatorHistory.h"

#include <cmath>
#include <cstdint>

#include "engine/OscillatorWalk.h"

OscillatorHistory ComputeOscillatorHistory(const TimeHistory& record, double gravity,
                                           double stepRatio, double zeta, double T) {
    OscillatorHistory history;
    history.plan = PlanPeriod(record.GetTimeStep(), T, stepRatio);
    const DOUBLEVECTOR& acc = record.GetAcc();
    if (acc.empty()) {
        return history;
    }
    const StepCoefficients k = PlanCoefficients(history.plan, zeta);
    const std::size_t steps = acc.size() - 1;
    history.displacementCm.reserve(steps * static_cast<std::size_t>(history.plan.subSteps) + 1);
    history.displacementCm.push_back(0.0);
    history.maxDisplacementCm.reserve(steps);
    WalkOscillator(
        acc.data(), acc.size(), gravity, zeta, history.plan, k,
        [&history](const SubStepEnd& end) {
            const double timeS = history.PointTime(history.displacementCm.size());
            history.displacementCm.push_back(end.x);
            if (end.newMaxD) {
                history.displacement = {std::fabs(end.x), timeS};
            }
            if (end.newMaxV) {
                history.velocity = {std::fabs(end.v), timeS};
            }
            if (end.newMaxA) {
                history.acceleration = {std::fabs(end.alpha), timeS};
            }
        },
        [&history](std::size_t, const RecordStepMaxima& maxima) {
            history.maxDisplacementCm.push_back(maxima.d);
        });
    return history;
}

std::size_t OscillatorPointCount(std::size_t sampleCount, double dt, double T, double stepRatio) {
    if (sampleCount == 0) {
        return 0;
    }
    const auto subSteps = static_cast<std::size_t>(PlanPeriod(dt, T, stepRatio).subSteps);
    const std::size_t steps = sampleCount - 1;
    if (subSteps != 0 && steps > (SIZE_MAX - 1) / subSteps) {
        return SIZE_MAX;
    }
    return steps * subSteps + 1;
}

std::vector<double> PeriodColumn(const History& history, std::size_t periodIndex) {
    std::vector<double> column;
    column.reserve(history.size());
    for (const HistoryRow row : history) {
        if (periodIndex >= row.size()) {
            break;
        }
        column.push_back(row[periodIndex]);
    }
    return column;
}
