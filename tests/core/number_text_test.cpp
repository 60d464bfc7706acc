// Trimming, the record files' number grammar and the two number formats.
#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "records/Errors.h"
#include "records/NumberScan.h"
#include "records/NumberText.h"

using namespace std::string_literals;

namespace {

std::string ConvertMessage(const std::string& text, char separator = '.') {
    try {
        StrToFloat(text, separator);
    } catch (const ConvertError& error) {
        return error.what();
    }
    return "(no error)";
}

}  // namespace

TEST(Trim, RemovesCodesUpTo32AndKeepsHighBytes) {
    EXPECT_EQ(Trim("  a b \t"), "a b");
    EXPECT_EQ(Trim("\x01\x1f x \r\n"), "x");
    EXPECT_EQ(Trim("\0\x31\0"s), "1");
    EXPECT_EQ(Trim(" \xC3\xA9\xFF "), "\xC3\xA9\xFF");  // bytes above 127 are text, not blanks
    EXPECT_EQ(Trim(""), "");
    EXPECT_EQ(Trim(" \t "), "");
}

struct Accepted {
    std::string text;
    char separator;
    double expected;
};

TEST(StrToFloat, AcceptsTheNumberGrammar) {
    const std::vector<Accepted> cases = {
        {"0", '.', 0.0},
        {"12", '.', 12.0},
        {"-3.5", '.', -3.5},
        {"+2.25", '.', 2.25},
        {"5.", '.', 5.0},  // a fraction may be empty when the integer part has digits
        {".5", '.', 0.5},  // and the integer part when the fraction has them
        {"-.5", '.', -0.5},
        {"0007", '.', 7.0},
        {"1e3", '.', 1000.0},
        {"1E-3", '.', 0.001},
        {"2.5e+2", '.', 250.0},
        {"5.e1", '.', 50.0},
        {"  7.25\t\r", '.', 7.25},
        {"0.1", '.', 0.1},
        {"1,5", ',', 1.5},
        {"-2,5E1", ',', -25.0},
        {"1.7976931348623157e308", '.', DBL_MAX},
        {"4.9406564584124654e-324", '.', std::numeric_limits<double>::denorm_min()},
        {"1e-400", '.', 0.0},  // underflow passes quietly
        {"0e999999999", '.', 0.0},
        {"1" + std::string(400, '0') + "e-400", '.', 1.0},
        {"0." + std::string(400, '0') + "1e401", '.', 1.0},
    };
    for (const Accepted& c : cases) {
        EXPECT_EQ(StrToFloat(c.text, c.separator), c.expected) << "text: " << c.text;
    }
}

TEST(StrToFloat, KeepsTheSignOfZero) {
    EXPECT_TRUE(std::signbit(StrToFloat("-0")));
    EXPECT_TRUE(std::signbit(StrToFloat("-1e-400")));
    EXPECT_FALSE(std::signbit(StrToFloat("0.0")));
}

TEST(StrToFloat, RefusesEverythingElseWithTheTrimmedText) {
    const std::vector<std::string> rejected = {
        "",
        " ",
        ".",
        "+",
        "-",
        "e5",
        ".e5",
        "+.e1",
        "1e",
        "1e+",
        "1e-",
        "1.5.2",
        "1 5",
        "1..5",
        "--1",
        "+-1",
        "1e5.5",
        "1e2e3",
        "0x10",
        "inf",
        "-inf",
        "nan",
        "Infinity",
        "1_000",
        "1d5",
        "1.5f",
        "1,5",
        "\xD9\xA1",      // Arabic-Indic digit one
        "\xEF\xBC\x91",  // fullwidth digit one
        "\xE2\x88\x92"
        "1",  // minus sign U+2212
        "1\0"
        "2"s,
    };
    for (const std::string& text : rejected) {
        EXPECT_THROW(StrToFloat(text), ConvertError) << "text: " << text;
    }
    EXPECT_THROW(StrToFloat("1.5", ','), ConvertError);
    EXPECT_EQ(ConvertMessage("  abc \t"), "'abc' is not a valid floating point value");
    EXPECT_EQ(ConvertMessage(""), "'' is not a valid floating point value");
    EXPECT_EQ(ConvertMessage("2.5", ','), "'2.5' is not a valid floating point value");
}

TEST(StrToFloat, RefusesValuesBeyondTheLargestDouble) {
    const std::vector<std::string> tooLarge = {"1e400",
                                               "-1e400",
                                               "1.7976931348623159e308",
                                               "1" + std::string(400, '0'),
                                               "1e99999999999999999999",
                                               "0.01e311"};
    for (const std::string& text : tooLarge) {
        EXPECT_EQ(ConvertMessage(text), ConvertError(text).what());
    }
    EXPECT_EQ(ConvertMessage("1e400"), "'1e400' is not a valid floating point value");
}

TEST(ConvertError, ShowsNulBytesAndCutsHostileLengths) {
    EXPECT_STREQ(ConvertError("1\0"
                              "5"s)
                     .what(),
                 "'1\xEF\xBF\xBD"
                 "5' is not a valid floating point value");
    const std::string exact(ConvertError::kMaxShownBytes, '7');
    EXPECT_EQ(ConvertError(exact).what(), "'" + exact + "' is not a valid floating point value");
    // The cut falls inside the two-byte "\xC3\xA9" and moves back to its first byte.
    const std::string accented = std::string(ConvertError::kMaxShownBytes - 1, 'a') + "\xC3\xA9";
    EXPECT_EQ(ConvertError(accented).what(),
              "'" + std::string(ConvertError::kMaxShownBytes - 1, 'a') +
                  "...' is not a valid floating point value");
    const std::string huge(10'000'000, '9');
    EXPECT_LT(std::string(ConvertError(huge).what()).size(), 200u);
}

struct Fixed4Case {
    double value;
    char separator;
    const char* expected;
};

TEST(FormatFixed4, RoundsFifteenDigitValuesHalfAwayFromZero) {
    const std::vector<Fixed4Case> cases = {
        {0.0, '.', "0.0000"},
        {1.5, '.', "1.5000"},
        {0.02, '.', "0.0200"},
        {12.34567, '.', "12.3457"},
        {-3.14159, '.', "-3.1416"},
        {0.00005, '.', "0.0001"},
        {-0.00005, '.', "-0.0001"},
        {0.000049999, '.', "0.0000"},
        {0.00015, '.', "0.0002"},      // binary 1.4999...e-4, 15 digits 1.5e-4
        {3 * 0.00005, '.', "0.0002"},  // an instant computed as a product
        {0.99995, '.', "1.0000"},      // carry into the integer part
        {9.99995, '.', "10.0000"},
        {-0.00001, '.', "0.0000"},  // rounds to zero: no minus
        {-0.0, '.', "0.0000"},
        {123456789.12345, '.', "123456789.1235"},
        {1e20, '.', "100000000000000000000.0000"},
        {1.5, ',', "1,5000"},
        {-0.25, ',', "-0,2500"},
        {std::numeric_limits<double>::infinity(), '.', "INF"},
        {-std::numeric_limits<double>::infinity(), '.', "-INF"},
        {std::numeric_limits<double>::quiet_NaN(), '.', "NAN"},
    };
    for (const Fixed4Case& c : cases) {
        EXPECT_EQ(FormatFixed4(c.value, c.separator), c.expected) << "value: " << c.value;
    }
}

// Independent oracle: k millionths, rounded to ten-thousandths by integer arithmetic.
TEST(FormatFixed4, AgreesWithIntegerRoundingOfMillionths) {
    for (long long k = -2'000'003; k <= 2'000'003; k += 37) {
        long long quotient = std::llabs(k) / 100;
        if (std::llabs(k) % 100 >= 50) {
            ++quotient;
        }
        char expected[48];
        std::snprintf(expected, sizeof expected, "%s%lld.%04lld",
                      (k < 0 && quotient != 0) ? "-" : "", quotient / 10000, quotient % 10000);
        ASSERT_EQ(FormatFixed4(static_cast<double>(k) / 1e6), expected) << "k = " << k;
    }
}

TEST(FormatGeneral, FifteenSignificantDigitsWithoutTrailingZeros) {
    const std::vector<std::pair<double, const char*>> cases = {
        {0.0, "0"},
        {0.1, "0.1"},
        {-2.5, "-2.5"},
        {100.0, "100"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1e+15"},
        {0.0001, "0.0001"},
        {1e-5, "1e-05"},
        {0.1 + 0.2, "0.3"},
        {2.0 / 3.0, "0.666666666666667"},
        {1e300, "1e+300"},
        {std::numeric_limits<double>::infinity(), "INF"},
        {-std::numeric_limits<double>::infinity(), "-INF"},
        {std::numeric_limits<double>::quiet_NaN(), "NAN"},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(FormatGeneral(value), expected);
    }
}

// The C library's %.15g (the tests run in the "C" locale) as a second opinion.
TEST(FormatGeneral, MatchesPrintfInTheCLocale) {
    double value = 1.2345678901234567e-7;
    for (int i = 0; i < 60; ++i, value *= -7.3) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.15g", value);
        EXPECT_EQ(FormatGeneral(value), expected);
    }
}

TEST(StrToFloatDotOrLocale, ReadsADotAlwaysAndTheLocaleSeparatorToo) {
    const std::vector<Accepted> cases = {
        {"0.02", ',', 0.02},    {"0,02", ',', 0.02}, {" 6 ", ',', 6.0},
        {"-1,5e1", ',', -15.0}, {"0.05", '.', 0.05}, {"2.5", '\x27', 2.5},
    };
    for (const Accepted& c : cases) {
        EXPECT_EQ(StrToFloatDotOrLocale(c.text, c.separator), c.expected) << "text: " << c.text;
    }
    // One text, one separator; in a '.' locale a comma stays refused as it always was.
    for (const auto& [text, separator] : std::vector<std::pair<std::string, char>>{
             {"1.000,5", ','}, {"1,000.5", ','}, {"0,02", '.'}, {"", ','}, {"1,5,", ','}}) {
        try {
            StrToFloatDotOrLocale(text, separator);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const ConvertError& error) {
            EXPECT_EQ(error.what(), "'" + text + "' is not a valid floating point value");
        }
    }
}

TEST(ScanNumber, StopsWhereTheGrammarStopsAndRefusesIncompleteNumbers) {
    const std::vector<std::pair<std::string, std::size_t>> matches = {
        {"1.5 2", 3},
        {"-2e3,x", 4},
        {"7\t", 1},
        {".5x", 2},
        {"8.6900441E-08\n", 13},
        {"1,5", 1},
        {"12345678901234567890123 ", 23},
    };
    for (const auto& [text, length] : matches) {
        double value = 0.0;
        EXPECT_EQ(ScanNumber(text.data(), text.data() + text.size(), value), text.data() + length)
            << text;
    }
    for (const std::string text : {"1e ", "1e+", "+", ".", "-.e1", "x1", "1e400", ""}) {
        double value = 0.0;
        EXPECT_EQ(ScanNumber(text.data(), text.data() + text.size(), value), nullptr) << text;
    }
    // Nothing at or past last is read: "12" of "123" is twelve.
    const std::string digits = "123";
    double twelve = 0.0;
    EXPECT_EQ(ScanNumber(digits.data(), digits.data() + 2, twelve), digits.data() + 2);
    EXPECT_EQ(twelve, 12.0);
}

TEST(FormatFixedAndExact, MatchPrintfInTheCLocale) {
    double value = 1.2345678901234567e-7;
    for (int i = 0; i < 60; ++i, value *= -7.3) {
        char fixed[400];
        char exact[64];
        std::snprintf(fixed, sizeof fixed, "%.1f", value);
        std::snprintf(exact, sizeof exact, "%.17g", value);
        EXPECT_EQ(FormatFixed(value, 1), fixed);
        EXPECT_EQ(FormatExact(value), exact);
    }
}

// QApplication sets the C library's locale from the environment; a German session must not
// change a conversion of the core. Runs where the machine has a comma locale.
TEST(NumberText, NoConversionDependsOnTheCLibraryLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    const char* comma = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE", "nl_NL.UTF-8"}) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            comma = name;
            break;
        }
    }
    if (comma == nullptr) {
        GTEST_SKIP() << "no locale with a decimal comma on this machine";
    }
    EXPECT_EQ(*std::localeconv()->decimal_point, ',');
    EXPECT_EQ(StrToFloat("0.05"), 0.05);
    EXPECT_THROW(StrToFloat("0,05"), ConvertError);
    EXPECT_EQ(FormatGeneral(0.05), "0.05");
    EXPECT_EQ(FormatFixed(1.25, 1), "1.2");
    EXPECT_EQ(FormatExact(0.5), "0.5");
    EXPECT_EQ(FormatFixed4(0.005), "0.0050");
    std::setlocale(LC_ALL, previous.c_str());
}
