// AT2 files: recognised by their header in both forms, read by it (time step, unit, values
// in file order), checked against NPTS; files that only look alike stay two-column; the
// real Chino Hills 2008 records give the samples of their two-column twins.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "records/At2Header.h"
#include "records/Errors.h"
#include "records/RecordReader.h"
#include "support/ReaderFixtures.h"
#include "support/ReferenceReader.h"
#include "support/Tolerance.h"

using namespace std::string_literals;

namespace {

constexpr double kGravity = 980.0;  // 1 g in cm/s2, as the window's unit list

const std::string kNgaHeader =
    "PEER NGA STRONG MOTION DATABASE RECORD\n"
    "14383980, 7/29/2008, Anaheim - Lakeview & Riverdale, 90\n";

// An NGA-form file: two title lines, the unit line, the NPTS line, then the body.
std::string NgaFile(const std::string& unit, const std::string& nptsLine, const std::string& body) {
    return kNgaHeader + "ACCELERATION TIME SERIES IN UNITS OF " + unit + "\n" + nptsLine + "\n" +
           body;
}

const std::string kSevenValues =
    "  8.6900441E-08  8.6365636E-08 -8.5833483E-08  8.6615244E-08  8.7723305E-08\n"
    "  1.2500000E-01 -2.5E-1\n";
const DOUBLEVECTOR kSevenSamples = {8.6900441E-08, 8.6365636E-08, -8.5833483E-08, 8.6615244E-08,
                                    8.7723305E-08, 0.125,         -0.25};

void ReadWithReference(const std::string& path, int beginLine, double unitFactor,
                       RecordList& records) {
    ReferenceReadRecordFile(path, beginLine, unitFactor, records);
}

std::string DataFile(const std::string& name) {
    return std::string(ORVANTA_TEST_DATA) + "/at2/" + name;
}

}  // namespace

TEST(At2Reader, BothHeaderFormsGiveTheTimeStepAndTheValuesInFileOrder) {
    const std::vector<std::string> files = {
        NgaFile("G", "NPTS=      7, DT=   0.005 SEC                     ", kSevenValues),
        // The older PEER form, with TIME HISTORY and a short title.
        "PEER STRONG MOTION DATABASE RECORD. PROCESSING BY PACIFIC ENGINEERING.\n"
        "CHINO HILLS 07/29/08, ANAHEIM, 090\n"
        "ACCELERATION TIME HISTORY IN UNITS OF G\n"
        "     7    0.00500    NPTS, DT\n" +
            kSevenValues,
        // Lower case, CR LF, no title lines, one value per line and a blank line.
        "acceleration time series in units of g\r\nnpts= 7, dt= .005 sec\r\n"
        "8.6900441E-08\r\n8.6365636E-08\r\n\r\n-8.5833483E-08 8.6615244E-08\r\n"
        "8.7723305E-08 0.125 -0.25",
    };
    for (const std::string& bytes : files) {
        // Begin Line and Acc. Unit do not apply: the header says where and in what unit.
        const Reading reading(bytes, 5, DeriveUnitFactor(2, kGravity), "RSN1_NS.AT2");
        ASSERT_EQ(reading.message, "(no error)") << bytes;
        EXPECT_EQ(reading.Record().GetName(), "RSN1_NS.AT2");
        EXPECT_EQ(reading.Record().GetFormat(), RecordFormat::PeerAt2);
        EXPECT_EQ(reading.Record().GetTimeStep(), 0.005);
        EXPECT_EQ(reading.Record().GetAcc(), kSevenSamples);
    }
}

TEST(At2Reader, UnitsOfTheHeaderConvertToG) {
    struct UnitCase {
        std::string unit;
        double gPerUnit;
    };
    const std::vector<UnitCase> cases = {
        {"G", 1.0},
        {"g.", 1.0},
        {"CM/S/S", 1 / 980.0},
        {"CM/SEC/SEC", 1 / 980.0},
        {"cm/s^2", 1 / 980.0},
        {"CM/S2", 1 / 980.0},
        {"GAL", 1 / 980.0},
        {"M/S/S", 1 / 9.8},
        {"M/SEC**2", 1 / 9.8},
        {"MM/S2", 1 / 9800.0},
    };
    for (const UnitCase& c : cases) {
        const Reading reading(NgaFile(c.unit, "NPTS= 2, DT= 0.01 SEC", "980 -9.8\n"), 2);
        ASSERT_EQ(reading.message, "(no error)") << c.unit;
        ASSERT_EQ(reading.Record().Count(), 2);
        EXPECT_TRUE(RelativelyNear(reading.Record().GetAcc()[0], 980 * c.gPerUnit, 1e-15));
        EXPECT_TRUE(RelativelyNear(reading.Record().GetAcc()[1], -9.8 * c.gPerUnit, 1e-15));
    }
}

TEST(At2Reader, NptsMustMatchTheValuesFound) {
    const Reading fewer(NgaFile("G", "NPTS=      8, DT=   0.005 SEC", kSevenValues), 2, 1.0,
                        "short.AT2");
    EXPECT_EQ(fewer.message,
              "The file \"" + fewer.path + "\" gives NPTS = 8 in its header, but holds 7 values");
    const Reading more(NgaFile("G", "NPTS=      6, DT=   0.005 SEC", kSevenValues), 2, 1.0,
                       "long.AT2");
    EXPECT_EQ(more.message,
              "The file \"" + more.path + "\" gives NPTS = 6 in its header, but holds 7 values");
    const Reading one(NgaFile("G", "NPTS= 3, DT= 0.005 SEC", "0.5\n"), 2);
    EXPECT_EQ(one.message,
              "The file \"" + one.path + "\" gives NPTS = 3 in its header, but holds 1 value");
    // As with a two-column file, the failing file's record holds what was read.
    ASSERT_EQ(fewer.records.size(), 1u);
    EXPECT_EQ(fewer.Record().GetAcc(), kSevenSamples);
}

TEST(At2Reader, ARecognisedFileNeverFallsBackToTwoColumns) {
    struct Refused {
        std::string bytes;
        std::string messageAfterPath;
    };
    const std::vector<Refused> cases = {
        {kNgaHeader + "VELOCITY TIME SERIES IN UNITS OF CM/S\nNPTS= 2, DT= 0.01 SEC\n1 2\n",
         "holds velocities, not accelerations (its header reads \"VELOCITY TIME SERIES IN UNITS "
         "OF CM/S\")"},
        {kNgaHeader + "DISPLACEMENT TIME SERIES IN UNITS OF CM\nNPTS= 2, DT= 0.01 SEC\n1 2\n",
         "holds displacements, not accelerations (its header reads \"DISPLACEMENT TIME SERIES "
         "IN UNITS OF CM\")"},
        {NgaFile("IN/S/S", "NPTS= 2, DT= 0.01 SEC", "1 2\n"),
         "gives accelerations in units of IN/S/S, which cannot be converted to g (known: G, "
         "M/S2, CM/S2, MM/S2)"},
        {NgaFile("G", "NPTS= two, DT= 0.01 SEC", "1 2\n"),
         "has an AT2 header whose line \"NPTS= two, DT= 0.01 SEC\" gives no number of points "
         "(NPTS) and time step (DT)"},
        {NgaFile("G", "NPTS= 2, DT= 0,01 SEC", "1 2\n"),
         "has an AT2 header whose line \"NPTS= 2, DT= 0,01 SEC\" gives no number of points "
         "(NPTS) and time step (DT)"},
        {NgaFile("G", "NPTS= 1, DT= 0.01 SEC", "1\n"),
         "gives NPTS = 1; a record needs at least 2 samples"},
    };
    for (const Refused& c : cases) {
        const Reading reading(c.bytes, 2);
        EXPECT_EQ(reading.message, "The file \"" + reading.path + "\" " + c.messageAfterPath);
        EXPECT_TRUE(reading.records.empty());
    }
    // A value that is no number fails as in a two-column file, after the values before it.
    const Reading bad(NgaFile("G", "NPTS= 4, DT= 0.01 SEC", "1 2\n3 x4\n"), 2);
    EXPECT_EQ(bad.message, "'x4' is not a valid floating point value");
    EXPECT_EQ(bad.Record().GetAcc(), (DOUBLEVECTOR{1, 2, 3}));
}

TEST(At2Reader, FilesThatOnlyLookAlikeStayTwoColumn) {
    const std::vector<std::string> files = {
        // A header line that merely mentions NPTS and DT.
        "time acc NPTS=3 DT=0.01\n0 1\n0.01 2\n0.02 3\n",
        // A unit line without an NPTS line after it.
        "ACCELERATION TIME SERIES IN UNITS OF G\n0 1\n0.01 2\n0.02 3\n",
        // The NPTS line before the unit line.
        "NPTS= 3, DT= 0.01 SEC\nACCELERATION TIME SERIES IN UNITS OF G\n0 1\n0.01 2\n0.02 3\n",
        // A quantity that is no ground motion.
        "TEMPERATURE TIME SERIES IN UNITS OF K\nNPTS= 3, DT= 0.01 SEC\n0 1\n0.01 2\n0.02 3\n",
    };
    for (const std::string& bytes : files) {
        const Reading reading(bytes, 2);
        const Reading reference(bytes, 2, 1.0, "record.txt", ReadWithReference);
        EXPECT_EQ(reading.message, reference.message) << bytes;
        if (!reading.records.empty()) {
            EXPECT_EQ(reading.Record().GetFormat(), RecordFormat::TwoColumn);
            EXPECT_EQ(reading.Record().GetAcc(), reference.Record().GetAcc());
        }
    }
    EXPECT_EQ(Reading(files[0], 2).Record().GetAcc(), (DOUBLEVECTOR{1, 2, 3}));
}

TEST(At2Reader, ValuesWithCommasQuotesOrUtf16ReadByTheSplittingRule) {
    const Reading commas(NgaFile("G", "NPTS= 5, DT= 0.01 SEC", "1, 2,\"3\"\n4 \"5\"\n"), 2);
    ASSERT_EQ(commas.message, "(no error)");
    EXPECT_EQ(commas.Record().GetAcc(), (DOUBLEVECTOR{1, 2, 3, 4, 5}));
    std::string utf16 = "\xFF\xFE";
    for (const char c : NgaFile("G", "NPTS= 2, DT= 0.01 SEC", "0.5 -0.5\r\n")) {
        utf16 += {c, '\0'};
    }
    const Reading wide(utf16, 2);
    ASSERT_EQ(wide.message, "(no error)");
    EXPECT_EQ(wide.Record().GetAcc(), (DOUBLEVECTOR{0.5, -0.5}));
}

// The real record: each AT2 file gives the samples of its two-column twin, every one to the
// bit, and the header's time step is the twin's.
TEST(At2Reader, ChinoHillsRecordsMatchTheirTwoColumnTwins) {
    const std::vector<std::pair<std::string, std::string>> twins = {
        {"RSN8883_14383980_13849090.AT2", "ChinoHills2008_Anaheim_090.txt"},
        {"RSN8883_14383980_13849360.AT2", "ChinoHills2008_Anaheim_360.txt"},
    };
    for (const auto& [at2, twoColumn] : twins) {
        RecordList records;
        ReadRecordFile(DataFile(at2), 2, 1.0, records);
        ReadRecordFile(DataFile(twoColumn), 2, 1.0, records);
        const TimeHistory& fromAt2 = *records[0];
        const TimeHistory& fromTwin = *records[1];
        EXPECT_EQ(fromAt2.GetName(), at2);
        EXPECT_EQ(fromAt2.GetFormat(), RecordFormat::PeerAt2);
        ASSERT_EQ(fromAt2.Count(), 16396);
        ASSERT_EQ(fromTwin.Count(), 16396);
        EXPECT_EQ(
            std::memcmp(fromAt2.GetAcc().data(), fromTwin.GetAcc().data(), sizeof(double) * 16396),
            0)
            << at2;
        EXPECT_EQ(fromAt2.GetTimeStep(), 0.005);
        EXPECT_EQ(fromTwin.GetTimeStep(), 0.005);
    }
}
