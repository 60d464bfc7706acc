// Progress and cancellation of a running analysis.
#include "engine/AnalysisRun.h"

#include <algorithm>

AnalysisRun::AnalysisRun(std::uint64_t totalWork) : total(totalWork) {}

double AnalysisRun::ShareDone() const {
    if (total == 0) {
        return Finished() ? 1.0 : 0.0;
    }
    return std::min(1.0, static_cast<double>(done.load(std::memory_order_relaxed)) /
                             static_cast<double>(total));
}

bool AnalysisRun::Finished() const {
    const std::lock_guard lock(mutex);
    return finished;
}

bool AnalysisRun::WaitFor(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex);
    return finishedChanged.wait_for(lock, timeout, [this] { return finished; });
}

void AnalysisRun::Wait() {
    std::unique_lock lock(mutex);
    finishedChanged.wait(lock, [this] { return finished; });
}

void AnalysisRun::Cancel() {
    std::atomic_ref<int>(stop).store(1, std::memory_order_relaxed);
}

bool AnalysisRun::CancelRequested() const {
    return std::atomic_ref<int>(stop).load(std::memory_order_relaxed) != 0;
}

void AnalysisRun::AddWork(std::uint64_t units) {
    done.fetch_add(units, std::memory_order_relaxed);
}

void AnalysisRun::MarkFinished() {
    {
        const std::lock_guard lock(mutex);
        finished = true;
    }
    finishedChanged.notify_all();
}
