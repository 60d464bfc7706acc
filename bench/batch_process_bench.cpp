// Whole orvanta-spectra processes, started with an empty environment (so nothing like
// GLIBC_TUNABLES can help them), output to /dev/null: wall time from start to exit and the
// child's peak resident size. Ten repetitions each, with min, median and max.
//   BM_BatchProcess/synthetic_8000   8,000 samples at 0.005 s, default grid
//   BM_BatchProcess/chino_hills      ChinoHills2008_Anaheim_090.txt (16,396 samples)
//                                           from --records-dir (default ../shared/records
//                                           beside the repository)
//   BM_BatchProcess/long_2000000     2,000,000 samples at 0.01 s, one period (1 s)
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/MinMax.h"

namespace {

std::string recordsDir = ORVANTA_SHARED_RECORDS;

struct ProcessRun {
    double seconds;
    long peakKb;  // the child's maximum resident set size
    int status;
};

ProcessRun RunTool(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(ORVANTA_SPECTRA_TOOL));
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    char* const environment[] = {nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, ORVANTA_SPECTRA_TOOL, &actions, nullptr, argv.data(), environment);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return {0, 0, -1};
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return {elapsed.count(), usage.ru_maxrss, status};
}

// The synthetic accelerogram of the analysis benchmark, as a record file.
std::string WriteRecord(const std::string& name, int samples, double dt, double peakG) {
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    std::ofstream file(path);
    file << "Time(s) Acc(g)\n";
    const double pi = 3.14159265358979, duration = samples * dt;
    char line[64];
    for (int i = 0; i < samples; ++i) {
        const double t = i * dt, envelope = std::sin(pi * t / duration);
        const double a =
            peakG * envelope * envelope *
            (0.5 * std::sin(2 * pi * t / 0.31) + 0.3 * std::sin(2 * pi * t / 0.87 + 1) +
             0.2 * std::sin(2 * pi * t / 0.07 + 2));
        std::snprintf(line, sizeof line, "%.3f %.6f\n", t, a);
        file << line;
    }
    return path;
}

void Measure(benchmark::State& state, const std::vector<std::string>& args) {
    long peakKb = 0;
    for (auto _ : state) {
        const ProcessRun run = RunTool(args);
        if (run.status != 0) {
            state.SkipWithError("orvanta-spectra failed");
            return;
        }
        state.SetIterationTime(run.seconds);
        peakKb = std::max(peakKb, run.peakKb);
    }
    state.counters["peak_rss_MB"] = static_cast<double>(peakKb) / 1024.0;
}

void BM_BatchProcess(benchmark::State& state, const std::string& record) {
    if (record == "synthetic_8000") {
        static const std::string path = WriteRecord("orvanta-bench-8000.txt", 8000, 0.005, 0.4);
        Measure(state, {path});
    } else if (record == "chino_hills") {
        const std::string path = recordsDir + "/ChinoHills2008_Anaheim_090.txt";
        if (!std::filesystem::exists(path)) {
            state.SkipWithError(("no " + path + " (give --records-dir=DIR)").c_str());
            return;
        }
        Measure(state, {path, "--begin-line", "2"});  // one header line, then the data
    } else {
        static const std::string path =
            WriteRecord("orvanta-bench-2000000.txt", 2000000, 0.01, 0.3);
        Measure(state, {path, "--min", "1", "--max", "1.01", "--step", "1"});
    }
}

void Repeated(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(10)
        ->ReportAggregatesOnly(true)
        ->ComputeStatistics("min", MinimumOf)
        ->ComputeStatistics("max", MaximumOf);
}

BENCHMARK_CAPTURE(BM_BatchProcess, synthetic_8000, std::string("synthetic_8000"))->Apply(Repeated);
BENCHMARK_CAPTURE(BM_BatchProcess, chino_hills, std::string("chino_hills"))->Apply(Repeated);
BENCHMARK_CAPTURE(BM_BatchProcess, long_2000000, std::string("long_2000000"))->Apply(Repeated);

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        const char* prefix = "--records-dir=";
        if (std::strncmp(argv[i], prefix, std::strlen(prefix)) == 0) {
            recordsDir = argv[i] + std::strlen(prefix);
        } else {
            rest.push_back(argv[i]);
        }
    }
    int restCount = static_cast<int>(rest.size());
    benchmark::Initialize(&restCount, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
