// A running analysis as its caller sees it while the worker threads compute: the share of
// the work done, whether it has finished, and a way to stop it.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

class AnalysisRun {
  public:
    // totalWork: the units of work the run will report (sub-steps of its kernels).
    explicit AnalysisRun(std::uint64_t totalWork);
    AnalysisRun(const AnalysisRun&) = delete;
    AnalysisRun& operator=(const AnalysisRun&) = delete;

    // Share of the work done, 0 .. 1.
    double ShareDone() const;
    bool Finished() const;
    // Waits until the run has finished or the timeout has passed; true when finished.
    bool WaitFor(std::chrono::milliseconds timeout);
    void Wait();
    // Asks the workers to stop; they do within a fraction of a millisecond. The analysis
    // then reports a cancelled run.
    void Cancel();
    bool CancelRequested() const;

    // For the workers: work done, the flag the kernels poll, the end of the last worker.
    void AddWork(std::uint64_t units);
    const int* StopFlag() const { return &stop; }
    void MarkFinished();

  private:
    std::uint64_t total;
    std::atomic<std::uint64_t> done{0};
    // Read and written only atomically (std::atomic_ref here, __atomic_load_n in the
    // kernels, which use no standard library).
    alignas(std::atomic_ref<int>::required_alignment) mutable int stop = 0;
    mutable std::mutex mutex;
    std::condition_variable finishedChanged;
    bool finished = false;
};
