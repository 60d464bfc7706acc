// The reader against the old one it replaced (kept as the reference): every seed of the
// reader's fuzz corpus, and files made of the number grammar's edge cases, give the same
// record or the same message; the number scanner gives std::from_chars's value to the bit.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "records/At2Header.h"
#include "records/Errors.h"
#include "records/NumberScan.h"
#include "records/NumberText.h"
#include "records/RecordReader.h"
#include "support/ReaderFixtures.h"
#include "support/ReferenceReader.h"

namespace {

constexpr double kGravity = 980.0;  // 1 g in cm/s2

void ReadWithReference(const std::string& path, int beginLine, double unitFactor,
                       RecordList& records) {
    ReferenceReadRecordFile(path, beginLine, unitFactor, records);
}

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Both readers on the same bytes: the same message and the same records, to the bit.
void ExpectSameReading(const std::string& bytes, int beginLine, double unitFactor,
                       const std::string& label) {
    const Reading fast(bytes, beginLine, unitFactor);
    const Reading old(bytes, beginLine, unitFactor, "record.txt", ReadWithReference);
    EXPECT_EQ(fast.message, old.message) << label;
    ASSERT_EQ(fast.records.size(), old.records.size()) << label;
    if (fast.records.empty()) {
        return;
    }
    const DOUBLEVECTOR& a = fast.Record().GetAcc();
    const DOUBLEVECTOR& b = old.Record().GetAcc();
    EXPECT_TRUE(SameBits(fast.Record().GetTimeStep(), old.Record().GetTimeStep())) << label;
    ASSERT_EQ(a.size(), b.size()) << label;
    EXPECT_TRUE(a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0)
        << label;
}

// Recognised as AT2, usable or not.
bool IsAt2File(const std::string& bytes) {
    try {
        return ReadAt2Header(bytes, "seed").has_value();
    } catch (const RecordFormatError&) {
        return true;
    }
}

std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The numbers at the edges of the grammar, and texts just outside it.
const std::vector<std::string> kEdgeTokens = {
    "0", "-0", "+0", "00012", "1.", ".5", "-.5", "+.5", ".", "+", "-", "1e5", "1E+5", "1e-5", "1e",
    "1e+", "e5", "5.e1", "1.5.2", "--1", "+-1", "0x1A", "inf", "nan", "-Infinity", "1_0", "1d5",
    "1,5", "9007199254740993", "9007199254740992", "123456789012345678901234",
    "0.000000000000000000001", "1e22", "1e23", "4.9e-324", "2e-324", "1e-400", "1e309",
    "1.7976931348623157e308", "1.7976931348623159e308", "0e99999999", "8.6900441E-08", "\"1.5\"",
    "\"1\"\"5\"", "1\"5\"",
    "\x01"
    "7\x02",
    "1\xC3\xA9", "\xEF\xBC\x91", "12345678.12345678", "0.1234567890123456789",
    "-99999999999999999999e-20",
    // The AT2 files' E15.7 spelling, which has a
    // path of its own, and spellings next to it.
    "-0.0000000E+00", "9.9999999E+22", "1.0000000E+23", "1.0000000E-22", "1.2345678e-089",
    "1.2345678E-08.5", "+1.2345678E+05", "1.2345678E*05", "1.234567E-08", "12.3456789E-08",
    "1.2345678E-0", "1/2345678E-08", "1.2345678F-08"};

}  // namespace

TEST(ReaderAgainstReference, EverySeedOfTheFuzzCorpus) {
    const std::filesystem::path corpus = std::string(ORVANTA_SOURCE_DIR) + "/fuzz/corpus/reader";
    int seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        // The fuzz input layout: unit index, separator selector, begin-line text length, the
        // begin-line text, then the file. Record files are read with '.' in every locale.
        const std::string input = FileBytes(entry.path());
        int unitIndex = 0;
        std::string beginText = "2";
        std::string bytes = input;
        if (input.size() >= 3) {
            unitIndex = static_cast<std::int8_t>(input[0]);
            const std::size_t length =
                std::min<std::size_t>(static_cast<unsigned char>(input[2]) % 17, input.size() - 3);
            beginText = input.substr(3, length);
            bytes = input.substr(3 + length);
        }
        int beginLine = 2;
        MessageOf([&] { beginLine = DeriveBeginLine(beginText); });
        const double unitFactor = DeriveUnitFactor(unitIndex, kGravity);
        if (IsAt2File(bytes)) {
            continue;  // an AT2 seed: the old reader never read those
        }
        ExpectSameReading(bytes, beginLine, unitFactor, entry.path().filename().string());
        ++seeds;
    }
    EXPECT_GE(seeds, 40);
}

TEST(ReaderAgainstReference, EdgeTokensAsTimesAndAccelerations) {
    // Every token as the acceleration of a valid line, then as the first and second time.
    for (const std::string& token : kEdgeTokens) {
        for (const std::string separator : {" ", "\t", ",", " , ", "  "}) {
            ExpectSameReading("h\n0 1\n0.01" + separator + token + "\n0.02 3\n", 2, 1.0, token);
            ExpectSameReading(token + separator + "1\n0.5 2\n", 1, 1.0, token);
            ExpectSameReading("0 1\n" + token + separator + "2\n", 1, 1.0, token);
        }
        ExpectSameReading("0 1\n0.01 " + token, 1, 10.0, token);  // at the very end, no break
    }
}

// The scanner's exact path and its std::from_chars path against the old conversion, which
// always went through std::from_chars, over numbers written many ways.
TEST(ReaderAgainstReference, NumbersWrittenEveryWayConvertToTheSameBits) {
    std::uint64_t state = 12345;
    char text[64];
    for (int i = 0; i < 200000; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const int decade = static_cast<int>(state >> 58) - 32;  // 10^-32 .. 10^31
        const double value = static_cast<double>(state >> 11) * 0x1.0p-53 * std::pow(10.0, decade);
        const auto format = (state & 3) == 0   ? std::chars_format::scientific
                            : (state & 3) == 1 ? std::chars_format::fixed
                                               : std::chars_format::general;
        const int precision = static_cast<int>((state >> 3) % 20);
        const char* end =
            std::to_chars(text, text + sizeof text, (state & 4) ? -value : value, format, precision)
                .ptr;
        const std::string number(static_cast<const char*>(text), end);
        double fast = 0.0;
        ASSERT_EQ(ScanNumber(number.data(), number.data() + number.size(), fast),
                  number.data() + number.size())
            << number;
        ASSERT_TRUE(SameBits(fast, ReferenceStrToFloat(number))) << number;
    }
}
