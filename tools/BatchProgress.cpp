// Progress of a long analysis on the batch tool's standard error.
#include "tools/BatchProgress.h"

#include <cmath>
#include <utility>

std::string ProgressLine(const std::string& recordName, double shareDone) {
    const int percent = static_cast<int>(std::floor(shareDone * 100));
    return "analysing " + recordName + ": " + std::to_string(percent) + " %";
}

RunWatcher TerminalProgress(std::string recordName, std::ostream& out,
                            std::chrono::milliseconds quietFor,
                            std::chrono::milliseconds interval) {
    return [name = std::move(recordName), &out, quietFor, interval](AnalysisRun& run) {
        if (run.WaitFor(quietFor)) {
            return;
        }
        do {
            out << '\r' << ProgressLine(name, run.ShareDone()) << std::flush;
        } while (!run.WaitFor(interval));
        out << '\r' << ProgressLine(name, run.ShareDone()) << '\n' << std::flush;
    };
}
