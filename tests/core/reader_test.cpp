// The record file reader: begin line, unit factor, the reading of one file and its failures.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "records/Errors.h"
#include "records/RecordReader.h"
#include "support/ReaderFixtures.h"
#include "support/TempFolder.h"
#include "support/Tolerance.h"

using namespace std::string_literals;

namespace {

constexpr double kGravity = 980.0;  // 1 g in cm/s2

}  // namespace

TEST(DeriveBeginLine, TrimsConvertsAndTruncatesTowardZero) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"2", 2},
        {" 3 \t", 3},
        {"2.9", 2},
        {"-0.5", 0},
        {"-2.9", -2},
        {"1e1", 10},
        {"+7", 7},
        {"0", 0},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"2147483647.9", INT_MAX},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(DeriveBeginLine(text), expected) << "text: " << text;
    }
    // The window passes its locale's separator; '.' is read in every locale.
    EXPECT_EQ(DeriveBeginLine("2,5", ','), 2);
    EXPECT_EQ(DeriveBeginLine("3.5", ','), 3);
}

TEST(DeriveBeginLine, RefusesTextsThatAreNotNumbersOrNotLineNumbers) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {" abc ", "abc"},
        {"", ""},
        {"2,5", "2,5"},  // a comma only where the locale has it
        {"1e300", "1e300"},
        {"2147483648", "2147483648"},
        {"-2147483649", "-2147483649"},
    };
    for (const auto& [text, shown] : cases) {
        const char separator = text == "2,5" ? '.' : ',';
        EXPECT_EQ(MessageOf([&] { DeriveBeginLine(text, separator); }),
                  "'" + shown + "' is not a valid floating point value");
    }
}

TEST(DeriveUnitFactor, MultipliersToG) {
    EXPECT_EQ(DeriveUnitFactor(0, kGravity), 1.0);
    EXPECT_TRUE(RelativelyNear(DeriveUnitFactor(1, kGravity), 1.0 / 9.8, 1e-15));
    EXPECT_TRUE(RelativelyNear(DeriveUnitFactor(2, kGravity), 1.0 / 980.0, 1e-15));
    EXPECT_TRUE(RelativelyNear(DeriveUnitFactor(3, kGravity), 1.0 / 9800.0, 1e-15));
    for (const int other : {4, 5, -1, INT_MIN, INT_MAX}) {
        EXPECT_EQ(DeriveUnitFactor(other, kGravity), 1.0) << "index " << other;
    }
    EXPECT_EQ(MessageOf([] { DeriveUnitFactor(2, 0.0); }), "Floating point division by zero");
}

TEST(ReadRecordFile, HeaderThenDataWithBeginLineTwo) {
    const TempFolder folder;
    const std::string path =
        folder.Write("quake_NS.txt", "time acc\n0.5 0.1\n0.52 -0.2\n0.54 0.3\n0.56 0\n");
    RecordList records;
    ReadRecordFile(path, 2, 1.0, records);
    ASSERT_EQ(records.size(), 1u);
    const TimeHistory& record = *records[0];
    EXPECT_EQ(record.GetName(), "quake_NS.txt");  // without its folder
    EXPECT_EQ(record.GetTimeStep(), 0.52 - 0.5);
    EXPECT_EQ(record.GetAcc(), (DOUBLEVECTOR{0.1, -0.2, 0.3, 0.0}));

    ReadRecordFile(path, 3, 1.0, records);  // appends after what is there
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1]->GetAcc(), (DOUBLEVECTOR{-0.2, 0.3, 0.0}));
    EXPECT_EQ(records[1]->GetTimeStep(), 0.54 - 0.52);
}

TEST(ReadRecordFile, TimeStepComesFromTheFirstTwoDataLinesOnly) {
    const Reading jumping("0 1\n0.02 2\n5 3\n-7 4\nx 0.5\n", 1);
    ASSERT_EQ(jumping.message, "(no error)");
    EXPECT_EQ(jumping.Record().GetTimeStep(), 0.02);
    EXPECT_EQ(jumping.Record().GetAcc(), (DOUBLEVECTOR{1, 2, 3, 4, 0.5}));
    EXPECT_EQ(Reading("1 1\n1 2\n", 1).Record().GetTimeStep(), 0.0);
    EXPECT_EQ(Reading("1 1\n0.75 2\n", 1).Record().GetTimeStep(), -0.25);
}

TEST(ReadRecordFile, UnitsConvertToG) {
    struct UnitCase {
        int unitIndex;
        std::string value;
        double expectedG;
    };
    const std::vector<UnitCase> cases = {
        {0, "0.5", 0.5},  {1, "9.8", 1.0}, {2, "980", 1.0},
        {3, "9800", 1.0}, {4, "0.5", 0.5}, {-1, "0.5", 0.5},
    };
    for (const UnitCase& c : cases) {
        const Reading reading("0 " + c.value + "\n0.01 " + c.value + "\n", 1,
                              DeriveUnitFactor(c.unitIndex, kGravity));
        ASSERT_EQ(reading.message, "(no error)");
        for (const double sample : reading.Record().GetAcc()) {
            EXPECT_TRUE(RelativelyNear(sample, c.expectedG, 1e-15)) << "unit " << c.unitIndex;
        }
    }
}

TEST(ReadRecordFile, SeparatorsSplitAlike) {
    for (const std::string separator : {" ", "\t", ",", " , ", ", ", "\t,\t"}) {
        const Reading reading("0" + separator + "1.5\n0.01" + separator + "-2.5\n", 1);
        ASSERT_EQ(reading.message, "(no error)") << "separator '" << separator << "'";
        EXPECT_EQ(reading.Record().GetAcc(), (DOUBLEVECTOR{1.5, -2.5}));
    }
    EXPECT_EQ(Reading("\"0\",\"1.5\"\n\"0.01\",\"2\",extra\n", 1).Record().GetAcc(),
              (DOUBLEVECTOR{1.5, 2.0}));
    const Reading twoCommas("0,,1.5\n0.01,,2\n", 1);
    EXPECT_EQ(twoCommas.message, "'' is not a valid floating point value");
    EXPECT_EQ(twoCommas.Record().Count(), 0);
}

TEST(ReadRecordFile, ACommaIsAFieldSeparatorNeverADecimalOne) {
    // "1,5 2,5" is the fields 1, 5, 2, 5: the times 1 and 3, the accelerations 5 and 5.
    const Reading comma("1,5 2,5\n3,5 4,5\n", 1);
    ASSERT_EQ(comma.message, "(no error)");
    EXPECT_EQ(comma.Record().GetTimeStep(), 2.0);
    EXPECT_EQ(comma.Record().GetAcc(), (DOUBLEVECTOR{5.0, 5.0}));
    // Quoted, a decimal-comma number stays one field, and is no number.
    EXPECT_EQ(Reading("\"0,5\" \"1,5\"\n\"0,75\" \"-2,5\"\n", 1).message,
              "'0,5' is not a valid floating point value");
}

TEST(ReadRecordFile, ByteOrderMarksAndLineBreaks) {
    const std::string cjkHeader = "\xE6\x97\xB6\xE9\x97\xB4 \xE5\x8A\xA0\xE9\x80\x9F";
    const std::u16string body16 = u"\u65F6\u95F4 \u52A0\u901F\r\n0 0.5\r\n0.01 -0.5\r\n";
    std::string little = "\xFF\xFE", big = "\xFE\xFF";
    for (const char16_t unit : body16) {
        little += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        big += {static_cast<char>(unit >> 8), static_cast<char>(unit & 0xFF)};
    }
    const std::vector<std::string> files = {
        "\xEF\xBB\xBF" + cjkHeader + "\n0 0.5\n0.01 -0.5\n",
        little,
        big,
        cjkHeader + "\r0 0.5\r0.01 -0.5\r",
        cjkHeader + "\r\n0 0.5\r\n0.01 -0.5",
    };
    for (const std::string& bytes : files) {
        const Reading reading(bytes, 2);
        ASSERT_EQ(reading.message, "(no error)") << "file: " << bytes;
        EXPECT_EQ(reading.Record().GetTimeStep(), 0.01);
        EXPECT_EQ(reading.Record().GetAcc(), (DOUBLEVECTOR{0.5, -0.5}));
    }
    // With the mark dropped the first line's number reads, too.
    EXPECT_EQ(Reading("\xEF\xBB\xBF"
                      "0 1\n0.5 2\n",
                      1)
                  .Record()
                  .GetTimeStep(),
              0.5);
}

TEST(ReadRecordFile, BeginLineOneZeroNegativeAndHuge) {
    EXPECT_EQ(Reading("0 7\n0.1 8\n", 1).Record().GetAcc(), (DOUBLEVECTOR{7, 8}));
    const std::vector<std::pair<int, std::string>> cases = {
        {0, "List index out of bounds (-1)"},
        {-3, "List index out of bounds (-4)"},
        {INT_MIN, "List index out of bounds (-2147483649)"},
        {INT_MAX, "List index out of bounds (2147483646)"},
        {3, "List index out of bounds (2)"},  // only lines 0 and 1 exist
        {2, "List index out of bounds (2)"},  // one data line is not enough
    };
    for (const auto& [beginLine, message] : cases) {
        const Reading reading("0 7\n0.1 8\n", beginLine);
        EXPECT_EQ(reading.message, message) << "begin line " << beginLine;
        EXPECT_TRUE(reading.records.empty());
    }
    EXPECT_EQ(Reading("", 2).message, "List index out of bounds (1)");
}

TEST(ReadRecordFile, FailuresBeforeTheSamplesLeaveTheListUnchanged) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"h\nabc 1\n0.01 2\n", "'abc' is not a valid floating point value"},
        {"h\n0 1\n 0.0l 2\n", "'0.0l' is not a valid floating point value"},
        {"h\n\n0.01 2\n", "List index out of bounds (0)"},  // no time field
        {"h\n0 1\n \t \n", "List index out of bounds (0)"},
        {"h\n1e308 0\n-1e308 0\n", "Floating point overflow"},  // time step beyond a double
        {"h\n0 1\n1e400 0\n", "'1e400' is not a valid floating point value"},
    };
    for (const auto& [bytes, message] : cases) {
        const Reading reading(bytes, 2);
        EXPECT_EQ(reading.message, message) << "file: " << bytes;
        EXPECT_TRUE(reading.records.empty());
    }
}

TEST(ReadRecordFile, FailuresAmongTheSamplesKeepTheRecordWithSamplesSoFar) {
    struct SampleFailure {
        std::string bytes;
        std::string message;
        DOUBLEVECTOR samplesSoFar;
    };
    const std::vector<SampleFailure> cases = {
        {"h\n0 1\n0.01 2\n0.02 3\n\n", "List index out of bounds (1)", {1, 2, 3}},   // blank line
        {"h\n0 1\n0.01 2\n0.02\n0.03 4\n", "List index out of bounds (1)", {1, 2}},  // one field
        {"h\n0 1\n0.01 2\n0.02 x3\n", "'x3' is not a valid floating point value", {1, 2}},
        {"h\n0\n0.01 2\n", "List index out of bounds (1)", {}},  // begin line has a time only
        {"h\n0 1\n0.01 2\n0.02 1\0"
         "5\n"s,
         "'1\xEF\xBF\xBD"
         "5' is not a valid floating point value",
         {1, 2}},
    };
    for (const SampleFailure& c : cases) {
        const Reading reading(c.bytes, 2);
        EXPECT_EQ(reading.message, c.message) << "file: " << c.bytes;
        ASSERT_EQ(reading.records.size(), 1u);
        EXPECT_EQ(reading.Record().GetAcc(), c.samplesSoFar);
        EXPECT_EQ(reading.Record().GetTimeStep(), 0.01);
    }
}

TEST(ReadRecordFile, SampleBeyondADoubleAfterAFactorAboveOneIsAnOverflow) {
    const Reading reading("0 1\n0.01 1e308\n", 1, 10.0);
    EXPECT_EQ(reading.message, "Floating point overflow");
    EXPECT_EQ(reading.Record().GetAcc(), DOUBLEVECTOR{10.0});
}

TEST(ReadRecordFile, NulBytesAtFieldEdgesAreTrimmedAway) {
    const Reading reading(
        "0\0 1\0\n\0"
        "0.01 2\n"s,
        1);
    ASSERT_EQ(reading.message, "(no error)");
    EXPECT_EQ(reading.Record().GetAcc(), (DOUBLEVECTOR{1, 2}));
}

TEST(ReadRecordFile, FilesThatCannotBeOpenedLeaveTheListUnchanged) {
    const TempFolder folder;
    RecordList records;
    const std::string missing = folder.Path("missing.txt");
    EXPECT_EQ(MessageOf([&] { ReadRecordFile(missing, 2, 1.0, records); }),
              "Cannot open file \"" + missing + "\". No such file or directory");
    EXPECT_EQ(MessageOf([&] { ReadRecordFile("/dev/zero", 2, 1.0, records); }),
              "Cannot open file \"/dev/zero\". Not a regular file");
    const std::string directory = folder.Path("dir");
    std::filesystem::create_directory(directory);
    EXPECT_EQ(MessageOf([&] { ReadRecordFile(directory, 0, 1.0, records); }),
              "Cannot open file \"" + directory + "\". Is a directory");  // before the begin line
    EXPECT_TRUE(records.empty());
}

TEST(ReadRecordFile, TenMegabyteLines) {
    const std::string digits(10'000'000, '1');
    // A long header line is skipped unread.
    const Reading header(digits + "\n0 1\n0.01 2\n", 2);
    EXPECT_EQ(header.Record().GetAcc(), (DOUBLEVECTOR{1, 2}));
    // A long number is refused with a message of bounded length.
    const Reading number("0 1\n0.01 2\n0.02 " + digits + "\n", 1);
    EXPECT_EQ(number.message, ConvertError(digits).what());
    EXPECT_LT(number.message.size(), 200u);
    EXPECT_EQ(number.Record().Count(), 2);
    // Ten million commas: two empty fields, the empty acceleration is refused.
    const Reading commas("0 1\n0.01 2\n" + std::string(10'000'000, ',') + "\n", 1);
    EXPECT_EQ(commas.message, "'' is not a valid floating point value");
    EXPECT_EQ(commas.Record().Count(), 2);
}
