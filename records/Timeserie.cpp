// One ground-acceleration record.
#include "records/Timeserie.h"

#include <utility>

TimeHistory::TimeHistory(std::string name, double timeStep, RecordFormat format)
    : name(std::move(name)), timeStep(timeStep), format(format) {}

void TimeHistory::ReserveSamples(std::size_t count) {
    acc.reserve(count);
}

int TimeHistory::Count() const {
    return static_cast<int>(acc.size());
}

double TimeHistory::Duration() const {
    return (Count() - 1) * timeStep;
}

double TimeHistory::GetTimeStep() const {
    return timeStep;
}

std::string TimeHistory::GetName() const {
    return name;
}

const DOUBLEVECTOR& TimeHistory::GetAcc() const {
    return acc;
}

RecordFormat TimeHistory::GetFormat() const {
    return format;
}
