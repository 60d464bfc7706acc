// orvanta-spectra: running elastic response spectra of one record file, as CSV.
#include <unistd.h>

#include <chrono>
#include <exception>
#include <fstream>
#include <iostream>
#include <numeric>
#include <string>
#include <vector>

#include "engine/ResultStore.h"
#include "records/NumberText.h"
#include "records/RecordReader.h"
#include "records/Units.h"
#include "tools/BatchCsv.h"
#include "tools/BatchOptions.h"
#include "tools/BatchProgress.h"

namespace {

// Thrown when the engine reports a failure through its message callback.
class AnalysisFailure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

std::vector<std::size_t> RowsToWrite(const BatchOptions& options, const TimeHistory& record,
                                     std::size_t rowCount) {
    if (rowCount == 0) {
        throw AnalysisFailure("The record '" + record.GetName() +
                              "' has fewer than two samples: no output instant to write");
    }
    switch (options.instants) {
        case InstantChoice::All: {
            std::vector<std::size_t> rows(rowCount);
            std::iota(rows.begin(), rows.end(), std::size_t{0});
            return rows;
        }
        case InstantChoice::Nearest:
            return {NearestInstantRow(options.atSeconds, record.GetTimeStep(), rowCount)};
        case InstantChoice::WholeRecord:
            break;
    }
    return {rowCount - 1};
}

void Analyse(const BatchOptions& options, ResultStore& store, TimeHistory& record) {
    auto start = std::chrono::steady_clock::now();
    const AnalysisSettings& analysis = options.analysis;
    store.BuildPeriodGrid(analysis.minPeriod, analysis.maxPeriod, analysis.periodStep);
    if (isatty(STDERR_FILENO) == 1) {
        store.watchRun = TerminalProgress(record.GetName(), std::cerr);
    }
    store.AnalyseRecord(&record, analysis.dampingRatio, kGravity);
    if (options.timing) {
        std::chrono::duration<double, std::milli> elapsed =
            std::chrono::steady_clock::now() - start;
        std::cerr << "analysis: " << FormatFixed(elapsed.count(), 3) << " ms\n";
    }
}

void Write(const BatchOptions& options, const ResultStore& store, const TimeHistory& record) {
    std::vector<std::size_t> rows = RowsToWrite(options, record, store.sdHistory.size());
    bool withTime = options.instants == InstantChoice::All;
    if (options.output.empty()) {
        WriteBatchCsv(std::cout, store, record.GetTimeStep(), rows, withTime);
        return;
    }
    std::ofstream out(options.output);
    if (!out) {
        throw std::runtime_error("Cannot create file \"" + options.output + "\"");
    }
    WriteBatchCsv(out, store, record.GetTimeStep(), rows, withTime);
    if (!out.flush()) {
        throw std::runtime_error("Cannot write file \"" + options.output + "\"");
    }
}

int Run(const BatchOptions& options) {
    RecordList records;
    ReadRecordFile(options.file, DeriveBeginLine(options.beginLine),
                   DeriveUnitFactor(options.unitIndex, kGravity), records);
    ResultStore store([](const std::string& message) { throw AnalysisFailure(message); });
    Analyse(options, store, *records.back());
    Write(options, store, *records.back());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    BatchOptions options;
    try {
        options = ParseBatchArguments(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& error) {
        std::cerr << "orvanta-spectra: " << error.what() << "\n\n" << BatchUsage();
        return 2;
    }
    if (options.help) {
        std::cout << BatchUsage();
        return 0;
    }
    try {
        return Run(options);
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
}
