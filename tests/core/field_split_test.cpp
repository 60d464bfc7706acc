// Field splitting of record-file lines: delimiters, blanks, quotes, trailing commas.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/FieldSplit.h"

using namespace std::string_literals;
using Fields = std::vector<std::string>;

struct SplitCase {
    std::string line;
    Fields expected;
};

TEST(SplitFields, SeparatorsBlanksAndEmptyFields) {
    const std::vector<SplitCase> cases = {
        {"1 2", {"1", "2"}},
        {"1\t2", {"1", "2"}},
        {"1,2", {"1", "2"}},
        {"1 , 2", {"1", "2"}},
        {"1 ,2", {"1", "2"}},
        {"1,\t 2", {"1", "2"}},
        {"  1   2  ", {"1", "2"}},
        {"1,,2", {"1", "", "2"}},   // two commas enclose an empty field
        {"1, ,2", {"1", "", "2"}},  // blanks after a comma are skipped, then the next comma
        {"1,", {"1", ""}},          // a comma as the last character adds one empty field
        {"1, ", {"1"}},             // ... but not when blanks follow it
        {",1", {"", "1"}},
        {",,", {"", "", ""}},
        {"", {}},
        {" \t\r ", {}},  // a line of blanks has no fields
        {"\x01\x1f"
         "a\x7f",
         {"a\x7f"}},  // codes 1..32 are blanks, 127 is not
        {"1;2", {"1;2"}},
        {"\xE6\x97\xB6 \xC3\xA9,x", {"\xE6\x97\xB6", "\xC3\xA9", "x"}},  // bytes above 127
    };
    for (const SplitCase& c : cases) {
        EXPECT_EQ(SplitFields(c.line), c.expected) << "line: '" << c.line << "'";
    }
}

TEST(SplitFields, QuotedFields) {
    const std::vector<SplitCase> cases = {
        {"\"a b\",c", {"a b", "c"}},
        {"\"a,b\" c", {"a,b", "c"}},
        {"\"a\"\"b\"", {"a\"b"}},  // a doubled quote stands for one
        {"\"\"", {""}},
        {"\"\",1", {"", "1"}},
        {"\"ab\"cd", {"ab", "cd"}},          // text after the closing quote starts a field
        {"\"abc", {"abc"}},                  // an unclosed quote runs to the end
        {"\" 1.5 \"\t\"2\"", {"1.5", "2"}},  // quoted fields are trimmed too
        {"x\"y", {"x\"y"}},                  // a quote inside a run is an ordinary character
    };
    for (const SplitCase& c : cases) {
        EXPECT_EQ(SplitFields(c.line), c.expected) << "line: '" << c.line << "'";
    }
}

TEST(SplitFields, NulIsPartOfAFieldAndTrimmedAtItsEdges) {
    EXPECT_EQ(SplitFields("\0"
                          "1\0 2"s),
              (Fields{"1", "2"}));
    EXPECT_EQ(SplitFields("1\0"
                          "5 2"s),
              (Fields{"1\0"
                      "5"s,
                      "2"}));
}

TEST(SplitFields, StopsAfterMaxFields) {
    EXPECT_EQ(SplitFields("1,2,3", 2), (Fields{"1", "2"}));
    EXPECT_EQ(SplitFields("1,", 1), (Fields{"1"}));
    EXPECT_EQ(SplitFields("1,", 2), (Fields{"1", ""}));
    EXPECT_EQ(SplitFields("", 2), Fields{});
    // A hostile 10 MB line of commas costs two fields, not ten million strings.
    EXPECT_EQ(SplitFields(std::string(10'000'000, ','), 2), (Fields{"", ""}));
}

// Each field of the full split is trimmed and, when joined by commas, the split of the
// join gives back the same fields (no field holds a comma, quote or blank here).
TEST(SplitFields, JoinedFieldsSplitBackAlike) {
    const Fields fields = {"0.01", "-1.5e-3", "", "x", "", "7"};
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        line += (i == 0 ? "" : (i % 2 ? " , " : ",")) + fields[i];
    }
    EXPECT_EQ(SplitFields(line), fields);
}
