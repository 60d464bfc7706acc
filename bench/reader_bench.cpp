// Reading record files from the page cache: a 1,000,000-line two-column file and the largest
// NGA AT2 file the 64 MiB limit admits (800,000 lines of five values), written by the
// benchmark into a temporary folder. Figures per line; ten repetitions with min, median, max.
// The old reader (the tests' reference) runs on the same two-column file for comparison.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/MinMax.h"
#include "records/RecordReader.h"
#include "support/ReferenceReader.h"

namespace {

constexpr long kTwoColumnLines = 1'000'000;
constexpr long kAt2Lines = 800'000;
constexpr int kAt2ValuesPerLine = 5;
constexpr double kTimeStep = 0.005;  // s

// Ground-motion-like values of varying size, reproducible: a fixed linear congruential
// generator, no library randomness.
class Accelerations {
  public:
    double Next() {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const double unit = static_cast<double>(state >> 11) * 0x1.0p-53;  // [0, 1)
        const double scale = (state & 7) == 0 ? 1e-6 : 0.05;
        return (2.0 * unit - 1.0) * scale;
    }

  private:
    std::uint64_t state = 42;
};

void Append(std::string& text, double value, std::chars_format format, int precision) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision).ptr;
    text.append(buffer, end);
}

// "time acceleration" lines as the two-column twins of the AT2 files carry them.
std::string TwoColumnText() {
    std::string text = "time[s] acc[g]\n";
    Accelerations acc;
    for (long i = 0; i < kTwoColumnLines; ++i) {
        Append(text, static_cast<double>(i) * kTimeStep, std::chars_format::fixed, 3);
        text.push_back(' ');
        Append(text, acc.Next(), std::chars_format::general, 8);
        text.push_back('\n');
    }
    return text;
}

// The NGA form: four header lines, then five values per line in 15-character columns.
std::string At2Text() {
    std::string text =
        "PEER NGA STRONG MOTION DATABASE RECORD\nbenchmark record\n"
        "ACCELERATION TIME SERIES IN UNITS OF G\nNPTS=" +
        std::to_string(kAt2Lines * kAt2ValuesPerLine) + ", DT=   0.005 SEC\n";
    Accelerations acc;
    char field[32];
    for (long i = 0; i < kAt2Lines; ++i) {
        for (int j = 0; j < kAt2ValuesPerLine; ++j) {
            const double value = acc.Next();
            const auto end =
                std::to_chars(field, field + sizeof field, value, std::chars_format::scientific, 7)
                    .ptr;
            std::string number(field, end);
            std::transform(number.begin(), number.end(), number.begin(),
                           [](char c) { return c == 'e' ? 'E' : c; });
            text.append(15 - std::min<std::size_t>(15, number.size()), ' ');
            text += number;
        }
        text.push_back('\n');
    }
    return text;
}

// The temporary folder with both files, removed when the program ends.
class BenchFiles {
  public:
    BenchFiles() {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvanta-bench-XXXXXX");
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a temporary folder");
        }
        folder = pattern;
        twoColumn = Write("two_column.txt", TwoColumnText());
        at2 = Write("record.AT2", At2Text());
    }
    ~BenchFiles() { std::filesystem::remove_all(folder); }
    std::string twoColumn;
    std::string at2;

  private:
    std::string Write(const std::string& name, const std::string& text) const {
        const std::string path = (folder / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    std::filesystem::path folder;
};

const BenchFiles& Files() {
    static const BenchFiles files;
    return files;
}

template <typename Read>
void ReadEachIteration(benchmark::State& state, const std::string& path, long lines, Read read) {
    std::size_t samples = 0;
    for (auto _ : state) {
        RecordList records;
        read(path, records);
        samples = static_cast<std::size_t>(records.back()->Count());
        benchmark::DoNotOptimize(records.back()->GetAcc().data());
    }
    state.counters["samples"] = static_cast<double>(samples);
    state.counters["per_line"] = benchmark::Counter(
        static_cast<double>(lines),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

void BM_TwoColumn1M(benchmark::State& state) {
    ReadEachIteration(state, Files().twoColumn, kTwoColumnLines,
                      [](const std::string& path, RecordList& records) {
                          ReadRecordFile(path, 2, 1.0, records);
                      });
}

void BM_At2_800kLinesOf5(benchmark::State& state) {
    ReadEachIteration(state, Files().at2, kAt2Lines,
                      [](const std::string& path, RecordList& records) {
                          ReadRecordFile(path, 2, 1.0, records);
                      });
}

void BM_TwoColumn1MReferenceReader(benchmark::State& state) {
    ReadEachIteration(state, Files().twoColumn, kTwoColumnLines,
                      [](const std::string& path, RecordList& records) {
                          ReferenceReadRecordFile(path, 2, 1.0, records);
                      });
}

#define ORVANTA_READER_BENCHMARK(name)        \
    BENCHMARK(name)                           \
        ->Unit(benchmark::kMillisecond)       \
        ->Repetitions(10)                     \
        ->ComputeStatistics("min", MinimumOf) \
        ->ComputeStatistics("max", MaximumOf) \
        ->ReportAggregatesOnly(true)

ORVANTA_READER_BENCHMARK(BM_TwoColumn1M);
ORVANTA_READER_BENCHMARK(BM_At2_800kLinesOf5);
ORVANTA_READER_BENCHMARK(BM_TwoColumn1MReferenceReader)->Iterations(2);

}  // namespace
