// Parsing the batch spectra tool's command line.
#include "tools/BatchOptions.h"

#include <array>

#include "records/Errors.h"
#include "records/NumberText.h"

namespace {

double ParseNumber(const std::string& option, const std::string& text) {
    try {
        return StrToFloat(text);
    } catch (const ConvertError& error) {
        throw UsageError(option + ": " + error.what());
    }
}

int ParseUnit(const std::string& text) {
    static const std::array<const char*, 4> units = {"g", "m/s2", "cm/s2", "mm/s2"};
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (text == units[i]) {
            return static_cast<int>(i);
        }
    }
    throw UsageError("--unit: unknown unit '" + text + "' (use g, m/s2, cm/s2 or mm/s2)");
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

void SetInstants(SpectraOptions& options, InstantChoice choice) {
    if (options.instants != InstantChoice::WholeRecord) {
        throw UsageError("--at and --all exclude each other");
    }
    options.instants = choice;
}

// Applies one option; returns false when arg is not an option.
bool ApplyOption(const std::string& arg, ArgumentCursor& cursor, SpectraOptions& options) {
    if (arg == "--help" || arg == "-h") {
        options.help = true;
    } else if (arg == "--begin-line") {
        options.beginLine = cursor.ValueOf(arg);
    } else if (arg == "--unit") {
        options.unitIndex = ParseUnit(cursor.ValueOf(arg));
    } else if (arg == "--min") {
        options.minPeriod = ParseNumber(arg, cursor.ValueOf(arg));
    } else if (arg == "--max") {
        options.maxPeriod = ParseNumber(arg, cursor.ValueOf(arg));
    } else if (arg == "--step") {
        options.periodStep = ParseNumber(arg, cursor.ValueOf(arg));
    } else if (arg == "--damping") {
        options.damping = ParseNumber(arg, cursor.ValueOf(arg));
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

SpectraOptions ParseSpectraArguments(const std::vector<std::string>& args) {
    SpectraOptions options;
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

std::string SpectraUsage() {
    return "Usage: orvanta-spectra FILE [--begin-line N] [--unit g|m/s2|cm/s2|mm/s2]\n"
           "                       [--min 0.02] [--max 6] [--step 0.02] [--damping 0.05]\n"
           "                       [--at SECONDS | --all] [--output PATH] [--timing]\n"
           "\n"
           "Reads a two-column record file (time in s, acceleration in the given unit) and\n"
           "writes the elastic response spectra as CSV: the whole record by default, the\n"
           "output instant nearest to --at, or every instant with --all (leading time_s).\n"
           "Columns: period_s,frequency_hz,sd_cm,sv_cm_s,sa_g,psv_cm_s,psa_g\n"
           "--timing prints the analysis time in milliseconds to standard error.\n";
}
