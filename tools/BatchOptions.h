// Command-line options of the batch spectra tool.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "engine/AnalysisSettings.h"

// A command line the tool cannot use; the message says what is wrong.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Which output instants the tool writes.
enum class InstantChoice { WholeRecord, Nearest, All };

struct BatchOptions {
    std::string file;
    std::string beginLine = "2";  // text, converted as the window converts "Begin Line"
    int unitIndex = 0;            // 0 g, 1 m/s2, 2 cm/s2, 3 mm/s2
    AnalysisSettings analysis;    // period grid (s) and damping ratio
    InstantChoice instants = InstantChoice::WholeRecord;
    double atSeconds = 0.0;  // with InstantChoice::Nearest
    std::string output;      // empty: standard output
    bool timing = false;
    bool help = false;
};

// Parses the arguments after the program name. Throws UsageError.
BatchOptions ParseBatchArguments(const std::vector<std::string>& args);

// The usage text printed by --help and after a usage error.
std::string BatchUsage();
