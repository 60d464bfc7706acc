// Parsing the batch spectra tool's command line.
#include "tools/BatchOptions.h"

#include "records/Errors.h"
#include "records/NumberText.h"
#include "records/Units.h"

namespace {

double ParseNumber(const std::string& option, const std::string& text) {
    try {
        return StrToFloat(text);
    } catch (const ConvertError& error) {
        throw UsageError(option + ": " + error.what());
    }
}

// The unit names joined with sep and, before the last, last: "g, m/s2, cm/s2 or mm/s2".
std::string UnitNames(const std::string& sep, const std::string& last) {
    std::string names;
    for (std::size_t i = 0; i < kAccelerationUnits.size(); ++i) {
        if (i > 0) {
            names += i + 1 == kAccelerationUnits.size() ? last : sep;
        }
        names += kAccelerationUnits[i].optionName;
    }
    return names;
}

int ParseUnit(const std::string& text) {
    for (std::size_t i = 0; i < kAccelerationUnits.size(); ++i) {
        if (text == kAccelerationUnits[i].optionName) {
            return static_cast<int>(i);
        }
    }
    throw UsageError("--unit: unknown unit '" + text + "' (use " + UnitNames(", ", " or ") + ")");
}

class ArgumentCursor {
  public:
    explicit ArgumentCursor(const std::vector<std::string>& args) : args(args) {}
    bool Done() const { return index >= args.size(); }
    const std::string& Next() { return args[index++]; }
    const std::string& ValueOf(const std::string& option) {
        if (Done()) {
            throw UsageError(option + " needs a value");
        }
        return Next();
    }

  private:
    const std::vector<std::string>& args;
    std::size_t index = 0;
};

void SetInstants(BatchOptions& options, InstantChoice choice) {
    if (options.instants != InstantChoice::WholeRecord) {
        throw UsageError("--at and --all exclude each other");
    }
    options.instants = choice;
}

// Applies one option; returns false when arg is not an option.
bool ApplyOption(const std::string& arg, ArgumentCursor& cursor, BatchOptions& options) {
    if (arg == "--help" || arg == "-h") {
        options.help = true;
    } else if (arg == "--begin-line") {
        options.beginLine = cursor.ValueOf(arg);
    } else if (arg == "--unit") {
        options.unitIndex = ParseUnit(cursor.ValueOf(arg));
    } else if (arg == "--min") {
        options.analysis.minPeriod = ParseNumber(arg, cursor.ValueOf(arg));
    } else if (arg == "--max") {
        options.analysis.maxPeriod = ParseNumber(arg, cursor.ValueOf(arg));
    } else if (arg == "--step") {
        options.analysis.periodStep = ParseNumber(arg, cursor.ValueOf(arg));
    } else if (arg == "--damping") {
        options.analysis.dampingRatio = ParseNumber(arg, cursor.ValueOf(arg));
    } else if (arg == "--at") {
        SetInstants(options, InstantChoice::Nearest);
        options.atSeconds = ParseNumber(arg, cursor.ValueOf(arg));
    } else if (arg == "--all") {
        SetInstants(options, InstantChoice::All);
    } else if (arg == "--output" || arg == "-o") {
        options.output = cursor.ValueOf(arg);
    } else if (arg == "--timing") {
        options.timing = true;
    } else {
        return false;
    }
    return true;
}

}  // namespace

BatchOptions ParseBatchArguments(const std::vector<std::string>& args) {
    BatchOptions options;
    ArgumentCursor cursor(args);
    while (!cursor.Done()) {
        const std::string& arg = cursor.Next();
        if (ApplyOption(arg, cursor, options)) {
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-') {
            throw UsageError("unknown option " + arg);
        }
        if (!options.file.empty()) {
            throw UsageError("only one record file may be given");
        }
        options.file = arg;
    }
    if (options.file.empty() && !options.help) {
        throw UsageError("no record file given");
    }
    return options;
}

std::string BatchUsage() {
    const AnalysisSettings defaults;
    return "Usage: orvanta-spectra FILE [--begin-line N] [--unit " + UnitNames("|", "|") + "]\n" +
           "                       [--min " + FormatGeneral(defaults.minPeriod) + "] [--max " +
           FormatGeneral(defaults.maxPeriod) + "] [--step " + FormatGeneral(defaults.periodStep) +
           "] [--damping " + FormatGeneral(defaults.dampingRatio) + "]\n" +
           "                       [--at SECONDS | --all] [--output PATH] [--timing]\n"
           "\n"
           "Reads a record file, two columns (time in s, acceleration in the given unit) or\n"
           "a PEER NGA AT2 file (read by its header: --begin-line and --unit do not apply), and\n"
           "writes the elastic response spectra as CSV: the whole record by default, the\n"
           "output instant nearest to --at, or every instant with --all (leading time_s).\n"
           "Columns: period_s,frequency_hz,sd_cm,sv_cm_s,sa_g,psv_cm_s,psa_g\n"
           "--timing prints the analysis time in milliseconds to standard error.\n"
           "A run longer than a second shows its progress on standard error when that is a\n"
           "terminal.\n";
}
