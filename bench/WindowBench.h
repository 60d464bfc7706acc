// Shared parts of the window benchmarks: a record file, the window after import, highlight and
// run, the offscreen application, per-iteration statistics and the live heap.
#pragma once

#include <benchmark/benchmark.h>

#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <vector>

class TForm1;

// Writes a record file of sampleCount samples (g) at timeStepS: two sines under a rise and
// decay envelope, peak about 0.3 g. Returns its path.
QString WriteBenchRecord(const QTemporaryDir& folder, int sampleCount, double timeStepS);

// The window, shown at its designed size, after importing path, highlighting it and running
// the analysis with the window's default parameters.
std::unique_ptr<TForm1> AnalysedWindow(const QString& path);

// Processes events until nothing is pending (bounded), so that queued work of the previous
// step does not fall into the next measurement.
void SettleEvents();

// Sets counters min_<unit>, median_<unit> and max_<unit> from samples (in that unit).
void SetSpreadCounters(benchmark::State& state, std::vector<double> samples, const char* unit);

// Bytes of live heap blocks (glibc's in-use bytes of all arenas and mmapped blocks).
double LiveHeapBytes();

// Runs the registered benchmarks on an offscreen QApplication (unless QT_QPA_PLATFORM says
// otherwise), with modal boxes printed instead of shown.
int RunWindowBenchmarks(int argc, char** argv);
