// The fast path: groups of periods on worker threads, written in place.
#include "engine/FastPath.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <system_error>
#include <thread>
#include <vector>

#include "engine/RunningResponse.h"
#include "engine/StepCoefficients.h"

namespace {

// Sub-steps a kernel runs between two reports of progress and looks at the stop flag.
constexpr std::uint64_t kChunkWork = std::uint64_t{1} << 15;
// Group loop iterations (a sub-step of every lane of a group, some 10 ns) and bytes of
// fresh memory to fault in (the kernel zeroes every page) below which another thread
// costs more than it saves (starting one costs some 50 us).
constexpr std::uint64_t kWorkPerThread = std::uint64_t{1} << 15;
constexpr std::size_t kFreshBytesPerThread = std::size_t{8} << 20;

// The periods planned in grid order, up to the first one that cannot be planned.
struct PlannedGrid {
    std::vector<PeriodPlan> plans;
    std::vector<StepCoefficients> coefficients;
    std::exception_ptr error;  // of period plans.size(), when it could not be planned
};

PlannedGrid PlanGrid(const FastPathInput& in) {
    PlannedGrid grid;
    grid.plans.reserve(in.periodCount);
    grid.coefficients.reserve(in.periodCount);
    try {
        for (std::size_t j = 0; j < in.periodCount; ++j) {
            const PeriodPlan plan = PlanPeriod(in.dt, in.periods[j], in.stepRatio);
            const StepCoefficients k = PlanCoefficients(plan, in.zeta);
            grid.plans.push_back(plan);
            grid.coefficients.push_back(k);
        }
    } catch (...) {
        grid.error = std::current_exception();
    }
    return grid;
}

struct Group {
    FastGroupPlan plan;
    std::size_t first;   // period of lane 0
    int lanes;           // lanes that are periods of the grid
    std::uint64_t work;  // sub-step iterations over the whole record
};

void SetLane(FastGroupPlan& p, int lane, const PeriodPlan& plan, const StepCoefficients& k,
             double zeta) {
    p.a11[lane] = k.a11, p.a12[lane] = k.a12, p.a21[lane] = k.a21, p.a22[lane] = k.a22;
    p.b11[lane] = k.b11, p.b12[lane] = k.b12, p.b21[lane] = k.b21, p.b22[lane] = k.b22;
    // As the reference forms them: 2 * zeta * omega and omega * omega, left to right.
    p.twoZetaOmega[lane] = 2 * zeta * plan.omega;
    p.omega2[lane] = plan.omega * plan.omega;
    p.omega[lane] = plan.omega;
    p.subSteps[lane] = plan.subSteps;
}

// Groups of laneCount neighbouring periods; lanes past the grid repeat its last period so
// that they compute harmless numbers and never lengthen the group's loop.
std::vector<Group> MakeGroups(const FastPathInput& in, const PlannedGrid& grid, int laneCount) {
    std::vector<Group> groups;
    const std::size_t count = grid.plans.size();
    for (std::size_t first = 0; first < count; first += laneCount) {
        Group group{};
        group.first = first;
        group.lanes = static_cast<int>(std::min<std::size_t>(laneCount, count - first));
        group.plan.minSubSteps = grid.plans[first].subSteps;
        group.plan.maxSubSteps = grid.plans[first].subSteps;
        for (int lane = 0; lane < laneCount; ++lane) {
            const std::size_t j = first + std::min(lane, group.lanes - 1);
            SetLane(group.plan, lane, grid.plans[j], grid.coefficients[j], in.zeta);
            group.plan.minSubSteps = std::min(group.plan.minSubSteps, grid.plans[j].subSteps);
            group.plan.maxSubSteps = std::max(group.plan.maxSubSteps, grid.plans[j].subSteps);
        }
        group.work = static_cast<std::uint64_t>(in.sampleCount - 1) *
                     static_cast<std::uint64_t>(group.plan.maxSubSteps);
        groups.push_back(group);
    }
    return groups;
}

bool Aligned64(const void* p) {
    return reinterpret_cast<std::uintptr_t>(p) % 64 == 0;
}

FastGroupRows RowsOf(const Group& group, const FastPathOutput& out, int laneCount) {
    FastGroupRows rows{};
    rows.rowStride = out.rowStride;
    // Lanes past the grid may be written where the rows have padding for them.
    const bool roomForAll = group.first + laneCount <= out.rowStride;
    rows.lanes = roomForAll ? laneCount : group.lanes;
    rows.stream = roomForAll && out.rowStride * sizeof(double) % 64 == 0;
    for (int q = 0; q < 5; ++q) {
        rows.first[q] = out.histories[q] + group.first;
        rows.stream = rows.stream && Aligned64(rows.first[q]);
    }
    return rows;
}

// A non-finite state stays non-finite (infinities and not-a-numbers never turn finite in
// the recurrence) and the row values never decrease, so a fault anywhere in the record
// shows in the final state or in the last row.
bool GroupFinite(const FastGroupState& state, const FastGroupRows& rows, std::size_t lastRow,
                 int lanes) {
    for (int i = 0; i < lanes; ++i) {
        bool finite = std::isfinite(state.x[i]) && std::isfinite(state.v[i]);
        for (int q = 0; q < 5; ++q) {
            finite = finite && std::isfinite(rows.first[q][lastRow * rows.rowStride + i]);
        }
        if (!finite) {
            return false;
        }
    }
    return true;
}

// Faults in the pages of part `part` of `parts` of the fresh memory, so that the workers
// share the kernel's page zeroing instead of faulting the same huge pages at once.
void FaultIn(std::span<std::byte> fresh, unsigned part, unsigned parts) {
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t pages = (fresh.size() + page - 1) / page;
    const std::size_t first = pages * part / parts, last = pages * (part + 1) / parts;
    if (first >= last) {
        return;
    }
    std::byte* begin = fresh.data() + first * page;
    const std::size_t bytes = std::min(fresh.size(), last * page) - first * page;
#if defined(MADV_POPULATE_WRITE)
    if (madvise(begin, bytes, MADV_POPULATE_WRITE) == 0) {
        return;
    }
#endif
    for (std::size_t at = 0; at < bytes; at += page) {
        begin[at] = std::byte{0};  // the memory is zero already; the write maps it
    }
}

// What the workers of one run share.
struct Shared {
    Shared(const FastPathInput& in, const FastPathOutput& out, const KernelInfo& kernel,
           const std::vector<Group>& groups, AnalysisRun& run, unsigned threads)
        : in(in),
          out(out),
          kernel(kernel),
          groups(groups),
          run(run),
          threads(threads),
          firstFaultGroup(groups.size()),
          working(threads) {}

    const FastPathInput& in;
    const FastPathOutput& out;
    const KernelInfo& kernel;
    const std::vector<Group>& groups;
    AnalysisRun& run;
    unsigned threads;
    std::atomic<std::size_t> nextGroup{0};
    std::atomic<std::size_t> firstFaultGroup;  // groups.size(): none
    std::atomic<unsigned> working;             // workers not yet done

    void NoteFault(std::size_t g) {
        std::size_t seen = firstFaultGroup.load();
        while (g < seen && !firstFaultGroup.compare_exchange_weak(seen, g)) {
        }
    }
};

void RunGroup(Shared& s, std::size_t g) {
    const Group& group = s.groups[g];
    const FastGroupRows rows = RowsOf(group, s.out, s.kernel.lanes);
    const FastRecord record{s.in.acc, s.in.gravity};
    const std::size_t n = s.in.sampleCount;
    const std::size_t stepsPerChunk =
        std::max<std::uint64_t>(1, kChunkWork / static_cast<std::uint64_t>(group.plan.maxSubSteps));
    FastGroupState state{};
    for (std::size_t j0 = 1; j0 < n;) {
        const std::size_t j1 = std::min(n, j0 + stepsPerChunk);
        if (!s.kernel.step(group.plan, state, record, j0, j1, rows, s.run.StopFlag())) {
            return;
        }
        s.run.AddWork(static_cast<std::uint64_t>(j1 - j0) *
                      static_cast<std::uint64_t>(group.plan.maxSubSteps));
        if (s.run.CancelRequested()) {
            return;
        }
        j0 = j1;
    }
    if (!GroupFinite(state, rows, n - 2, group.lanes)) {
        s.NoteFault(g);
    }
}

void Work(Shared& s, unsigned index) {
    FaultIn(s.out.fresh, index, s.threads);
    for (;;) {
        const std::size_t g = s.nextGroup.fetch_add(1);
        // Groups after a fault hold periods the run never reaches.
        if (g >= s.groups.size() || g > s.firstFaultGroup.load() || s.run.CancelRequested()) {
            break;
        }
        RunGroup(s, g);
    }
    if (s.working.fetch_sub(1) == 1) {
        s.run.MarkFinished();
    }
}

unsigned ThreadCount(const FastPathOptions& options, const std::vector<Group>& groups,
                     std::uint64_t work, std::size_t freshBytes) {
    if (options.threads > 0) {
        return options.threads;
    }
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::uint64_t worthwhile =
        std::max<std::uint64_t>({1, work / kWorkPerThread, freshBytes / kFreshBytesPerThread});
    // At least one worker, also for an empty grid: the last worker ends the run. One more
    // than there are groups can still share the faulting in of the fresh memory.
    return static_cast<unsigned>(std::max<std::uint64_t>(
        1, std::min<std::uint64_t>({cores, groups.size() + 1, worthwhile})));
}

// Runs the workers: with a watcher all of them on threads of their own while the watcher
// runs here, else the calling thread is the last worker. Where a thread cannot be
// started, its share falls to the calling thread.
void RunWorkers(Shared& s, const RunWatcher& watcher) {
    std::vector<std::thread> threads;
    const unsigned spawned = watcher ? s.threads : s.threads - 1;
    threads.reserve(spawned);  // only starting a thread can fail below
    unsigned index = 0;
    try {
        for (; index < spawned; ++index) {
            threads.emplace_back(Work, std::ref(s), index);
        }
    } catch (const std::system_error&) {
        // the calling thread takes over the workers that did not start
    }
    for (; index < s.threads; ++index) {
        Work(s, index);
    }
    const auto joinAll = [&] {
        s.run.Wait();
        for (std::thread& thread : threads) {
            thread.join();
        }
    };
    try {
        if (watcher) {
            watcher(s.run);
        }
    } catch (...) {
        s.run.Cancel();  // the workers must not outlive the run's data
        joinAll();
        throw;
    }
    joinAll();
}

// The periods from the first faulty group on, by the reference path, until one raises its
// fault; the periods before it are rewritten with the same bits.
FastPathResult FindFault(const FastPathInput& in, const FastPathOutput& out,
                         const PlannedGrid& grid, std::size_t from) {
    for (std::size_t j = from; j < grid.plans.size(); ++j) {
        const SpectrumColumns columns{out.histories[0] + j, out.histories[1] + j,
                                      out.histories[2] + j, out.histories[3] + j,
                                      out.histories[4] + j, out.rowStride};
        try {
            RunReferencePeriod(in.acc, in.sampleCount, in.gravity, in.zeta, grid.plans[j],
                               grid.coefficients[j], columns);
        } catch (...) {
            return {j, std::current_exception(), false};
        }
    }
    return {grid.plans.size(), grid.error, false};
}

}  // namespace

FastPathResult RunFastPath(const FastPathInput& in, const FastPathOutput& out,
                           const FastPathOptions& options, const RunWatcher& watcher) {
    const KernelInfo& kernel = ChooseKernel(options.kernel);
    const PlannedGrid grid = PlanGrid(in);
    const std::vector<Group> groups = MakeGroups(in, grid, kernel.lanes);
    std::uint64_t work = 0;
    for (const Group& group : groups) {
        work += group.work;
    }
    AnalysisRun run(work);
    Shared shared(in, out, kernel, groups, run,
                  ThreadCount(options, groups, work, out.fresh.size()));
    RunWorkers(shared, watcher);

    if (run.CancelRequested()) {
        return {0, nullptr, true};
    }
    const std::size_t faulty = shared.firstFaultGroup.load();
    if (faulty < groups.size()) {
        return FindFault(in, out, grid, groups[faulty].first);
    }
    return {grid.plans.size(), grid.error, false};
}
