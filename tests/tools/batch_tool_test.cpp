// orvanta-spectra end to end: the program run on record files written by the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/OscillatorOracle.h"
#include "support/TempFolder.h"
#include "support/Tolerance.h"

namespace {

struct ToolRun {
    int status;
    std::string out;  // standard output
    std::string err;  // standard error
};

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs the tool with args, environment ("NAME=value ...") set for it.
ToolRun RunTool(const TempFolder& folder, const std::string& args,
                const std::string& environment = "") {
    std::string out = folder.Path("stdout.txt");
    std::string err = folder.Path("stderr.txt");
    std::string command = environment + " " + std::string(ORVANTA_SPECTRA_TOOL) + " " + args +
                          " >" + out + " 2>" + err;
    int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err)};
}

std::vector<std::vector<double>> ParseCsv(const std::string& text, std::string& header) {
    std::istringstream lines(text);
    std::getline(lines, header);
    std::vector<std::vector<double>> rows;
    for (std::string line; std::getline(lines, line);) {
        std::vector<double> values;
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, ',');) {
            values.push_back(std::stod(field));
        }
        rows.push_back(values);
    }
    return rows;
}

// A short, strong record in cm/s2: two sines under a decaying envelope, 0.01 s apart.
std::vector<double> TestRecordCmS2() {
    std::vector<double> acc;
    for (int i = 0; i < 301; ++i) {
        double t = i * 0.01;
        acc.push_back(300.0 * std::exp(-t) * (std::sin(7.0 * t) + 0.5 * std::sin(23.0 * t)));
    }
    return acc;
}

std::string WriteRecord(const TempFolder& folder, const std::vector<double>& acc) {
    std::string text = "test record, time[s] acc[cm/s2]\n";
    char line[64];
    for (std::size_t i = 0; i < acc.size(); ++i) {
        std::snprintf(line, sizeof line, "%.2f,%.17g\n", i * 0.01, acc[i]);
        text += line;
    }
    return folder.Write("record.txt", text);
}

}  // namespace

TEST(SpectraTool, WholeRecordSpectrumMatchesAnIndependentIntegration) {
    TempFolder folder;
    std::vector<double> accCm = TestRecordCmS2();
    std::string record = WriteRecord(folder, accCm);
    std::string csv = folder.Path("out.csv");
    ToolRun run = RunTool(folder, record +
                                      " --unit cm/s2 --min 0.1 --max 3 --step 0.3 "
                                      "--damping 0.05 --output " +
                                      csv);
    ASSERT_EQ(run.status, 0) << run.err;
    std::string header;
    std::vector<std::vector<double>> rows = ParseCsv(Slurp(csv), header);
    EXPECT_EQ(header, "period_s,frequency_hz,sd_cm,sv_cm_s,sa_g,psv_cm_s,psa_g");
    ASSERT_EQ(rows.size(), 10u);  // 0.1, 0.4, ..., 2.8 and 3 appended (2.8 is 6.7 % short)

    std::vector<double> accG;
    for (double a : accCm) {
        accG.push_back(a * (1.0 / 980.0));
    }
    for (const std::vector<double>& row : rows) {
        ASSERT_EQ(row.size(), 7u);
        double T = row[0];
        EXPECT_EQ(row[1], 1.0 / T);
        SpectrumPoint oracle = OracleWholeRecordSpectrum(accG, 0.01, 980.0, 0.02, 0.05, T, 64);
        EXPECT_TRUE(RelativelyNear(row[2], oracle.sd, 1e-6)) << "T=" << T;
        EXPECT_TRUE(RelativelyNear(row[3], oracle.sv, 1e-6)) << "T=" << T;
        EXPECT_TRUE(RelativelyNear(row[4], oracle.sa, 1e-6)) << "T=" << T;
        EXPECT_TRUE(RelativelyNear(row[5], oracle.psv, 1e-6)) << "T=" << T;
        EXPECT_TRUE(RelativelyNear(row[6], oracle.psa, 1e-6)) << "T=" << T;
    }
}

TEST(SpectraTool, InstantsAtAndAll) {
    TempFolder folder;
    std::string record = WriteRecord(folder, TestRecordCmS2());
    std::string header;

    ToolRun all = RunTool(folder, record + " --unit cm/s2 --min 0.5 --max 1 --step 0.25 --all");
    ASSERT_EQ(all.status, 0) << all.err;
    std::vector<std::vector<double>> allRows = ParseCsv(all.out, header);
    EXPECT_EQ(header, "time_s,period_s,frequency_hz,sd_cm,sv_cm_s,sa_g,psv_cm_s,psa_g");
    ASSERT_EQ(allRows.size(), 300u * 3u);  // 300 instants x periods 0.5, 0.75 and 1 (appended)
    EXPECT_EQ(allRows.front()[0], 0.01);
    EXPECT_EQ(allRows.back()[0], 3.0);

    ToolRun at = RunTool(folder, record + " --unit cm/s2 --min 0.5 --max 1 --step 0.25 --at 1.004");
    ASSERT_EQ(at.status, 0) << at.err;
    std::vector<std::vector<double>> atRows = ParseCsv(at.out, header);
    ASSERT_EQ(atRows.size(), 3u);
    // The instant nearest 1.004 s is 1.00 s, row 99 of the full listing.
    for (std::size_t j = 0; j < 3; ++j) {
        const std::vector<double>& full = allRows[99 * 3 + j];
        EXPECT_EQ(full[0], 1.0);
        EXPECT_EQ(std::vector<double>(full.begin() + 1, full.end()), atRows[j]);
    }
}

TEST(SpectraTool, ErrorsAndUsage) {
    TempFolder folder;
    std::string missing = folder.Path("missing.txt");
    ToolRun notFound = RunTool(folder, missing);
    EXPECT_EQ(notFound.status, 1);
    EXPECT_EQ(notFound.err.rfind("Cannot open file \"" + missing + "\". ", 0), 0u) << notFound.err;

    std::string blankTail = folder.Write("blank.txt", "h\n0 0.1\n0.01 0.2\n\n");
    ToolRun blank = RunTool(folder, blankTail);
    EXPECT_EQ(blank.status, 1);
    EXPECT_EQ(blank.err, "List index out of bounds (1)\n");

    std::string good = folder.Write("good.txt", "h\n0 0.1\n0.01 0.2\n0.02 0.0\n");
    ToolRun badStep = RunTool(folder, good + " --step -0.02");
    EXPECT_EQ(badStep.status, 1);
    EXPECT_NE(badStep.err.find("-0.02"), std::string::npos) << badStep.err;

    ToolRun usage = RunTool(folder, good + " --bogus");
    EXPECT_EQ(usage.status, 2);
    EXPECT_NE(usage.err.find("Usage: orvanta-spectra FILE"), std::string::npos);

    ToolRun help = RunTool(folder, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: orvanta-spectra FILE", 0), 0u);

    ToolRun timing = RunTool(folder, good + " --timing");
    EXPECT_EQ(timing.status, 0);
    EXPECT_EQ(timing.err.rfind("analysis: ", 0), 0u);
}

// An AT2 file gives the spectra of its two-column twin, whatever --begin-line and --unit say
// and in a German locale too (the numbers of both files and of the CSV are read and written
// with '.').
TEST(SpectraTool, At2FileGivesTheSpectraOfItsTwoColumnTwin) {
    TempFolder folder;
    const std::string data = std::string(ORVANTA_TEST_DATA) + "/at2/";
    const std::string grid = " --min 0.1 --max 2 --step 0.1 --damping 0.05";
    ToolRun at2 =
        RunTool(folder, data + "RSN8883_14383980_13849360.AT2 --begin-line 9 --unit cm/s2" + grid);
    ToolRun twin =
        RunTool(folder, data + "ChinoHills2008_Anaheim_360.txt" + grid, "LC_ALL=de_DE.UTF-8");
    ASSERT_EQ(at2.status, 0) << at2.err;
    ASSERT_EQ(twin.status, 0) << twin.err;
    EXPECT_EQ(at2.out, twin.out);
    EXPECT_EQ(std::count(at2.out.begin(), at2.out.end(), '\n'), 20);  // header + 19 periods

    std::string shortFile = folder.Write(
        "short.AT2",
        "title\nACCELERATION TIME SERIES IN UNITS OF G\nNPTS=      3, DT=   0.01 SEC\n0.1 0.2\n");
    ToolRun refused = RunTool(folder, shortFile);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err,
              "The file \"" + shortFile + "\" gives NPTS = 3 in its header, but holds 2 values\n");
}
