// The batch tool's command line: defaults, every option and the usage errors.
#include <gtest/gtest.h>

#include "tools/BatchCsv.h"
#include "tools/BatchOptions.h"

namespace {

BatchOptions Parse(std::vector<std::string> args) {
    return ParseBatchArguments(args);
}

}  // namespace

TEST(BatchOptions, DefaultsAreTheWindowsDefaults) {
    BatchOptions options = Parse({"quake.txt"});
    EXPECT_EQ(options.file, "quake.txt");
    EXPECT_EQ(options.beginLine, "2");
    EXPECT_EQ(options.unitIndex, 0);
    EXPECT_EQ(options.analysis.minPeriod, 0.02);
    EXPECT_EQ(options.analysis.maxPeriod, 6.0);
    EXPECT_EQ(options.analysis.periodStep, 0.02);
    EXPECT_EQ(options.analysis.dampingRatio, 0.05);
    EXPECT_EQ(options.instants, InstantChoice::WholeRecord);
    EXPECT_TRUE(options.output.empty());
    EXPECT_FALSE(options.timing);
}

TEST(BatchOptions, EveryOptionIsRead) {
    BatchOptions options = Parse({"--begin-line", "3", "--unit", "cm/s2", "--min", "0.1", "--max",
                                  "4", "--step", "0.05", "--damping", "0.02", "--at", "1.5",
                                  "--output", "out.csv", "--timing", "rec.txt"});
    EXPECT_EQ(options.file, "rec.txt");
    EXPECT_EQ(options.beginLine, "3");
    EXPECT_EQ(options.unitIndex, 2);
    EXPECT_EQ(options.analysis.minPeriod, 0.1);
    EXPECT_EQ(options.analysis.maxPeriod, 4.0);
    EXPECT_EQ(options.analysis.periodStep, 0.05);
    EXPECT_EQ(options.analysis.dampingRatio, 0.02);
    EXPECT_EQ(options.instants, InstantChoice::Nearest);
    EXPECT_EQ(options.atSeconds, 1.5);
    EXPECT_EQ(options.output, "out.csv");
    EXPECT_TRUE(options.timing);
    EXPECT_EQ(Parse({"r.txt", "--unit", "mm/s2", "--all"}).instants, InstantChoice::All);
    EXPECT_TRUE(Parse({"--help"}).help);
}

TEST(BatchOptions, UsageErrorsSayWhatIsWrong) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "no record file given"},
        {{"a.txt", "b.txt"}, "only one record file may be given"},
        {{"a.txt", "--frobnicate"}, "unknown option --frobnicate"},
        {{"a.txt", "--min"}, "--min needs a value"},
        {{"a.txt", "--step", "0,02"}, "--step: '0,02' is not a valid floating point value"},
        {{"a.txt", "--unit", "ft/s2"},
         "--unit: unknown unit 'ft/s2' (use g, m/s2, cm/s2 or mm/s2)"},
        {{"a.txt", "--all", "--at", "2"}, "--at and --all exclude each other"},
    };
    for (const auto& [args, message] : cases) {
        try {
            Parse(args);
            ADD_FAILURE() << "accepted: " << message;
        } catch (const UsageError& error) {
            EXPECT_EQ(error.what(), message);
        }
    }
}

TEST(SpectraCsv, NearestInstantIsClampedToTheRecord) {
    // Instants at 0.01, 0.02, ... 0.99 s: rows 0 .. 98.
    EXPECT_EQ(NearestInstantRow(0.5, 0.01, 99), 49u);
    EXPECT_EQ(NearestInstantRow(0.504, 0.01, 99), 49u);
    EXPECT_EQ(NearestInstantRow(0.506, 0.01, 99), 50u);
    EXPECT_EQ(NearestInstantRow(0.0, 0.01, 99), 0u);
    EXPECT_EQ(NearestInstantRow(-3.0, 0.01, 99), 0u);
    EXPECT_EQ(NearestInstantRow(100.0, 0.01, 99), 98u);
}
