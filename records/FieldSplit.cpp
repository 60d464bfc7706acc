// Field splitting of record-file lines: comma delimiter, double-quote quoting, blanks 1..32.
#include "records/FieldSplit.h"

#include "records/NumberText.h"

namespace {

constexpr char kDelimiter = ',';
constexpr char kQuote = '"';

// Codes 1..32 separate fields; code 0 is an ordinary character here.
bool IsBlank(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code >= 1 && code <= 32;
}

void SkipBlanks(std::string_view line, std::size_t& pos) {
    while (pos < line.size() && IsBlank(line[pos])) {
        ++pos;
    }
}

// The quoted text starting at the opening quote at pos, with doubled quotes read as one;
// pos ends past the closing quote, or at the end of the line when there is none.
std::string TakeQuoted(std::string_view line, std::size_t& pos) {
    std::string field;
    ++pos;
    while (pos < line.size()) {
        if (line[pos] != kQuote) {
            field.push_back(line[pos++]);
        } else if (pos + 1 < line.size() && line[pos + 1] == kQuote) {
            field.push_back(kQuote);
            pos += 2;
        } else {
            ++pos;
            break;
        }
    }
    return field;
}

// The run of characters from pos up to the next blank or comma (possibly empty).
std::string_view TakeRun(std::string_view line, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < line.size() && !IsBlank(line[pos]) && line[pos] != kDelimiter) {
        ++pos;
    }
    return line.substr(start, pos - start);
}

}  // namespace

std::vector<std::string> SplitFields(std::string_view line, std::size_t maxFields) {
    std::vector<std::string> fields;
    std::size_t pos = 0;
    SkipBlanks(line, pos);
    while (pos < line.size() && fields.size() < maxFields) {
        if (line[pos] == kQuote) {
            fields.push_back(Trim(TakeQuoted(line, pos)));
        } else {
            fields.push_back(Trim(TakeRun(line, pos)));
        }
        SkipBlanks(line, pos);
        if (pos < line.size() && line[pos] == kDelimiter) {
            if (pos + 1 == line.size() && fields.size() < maxFields) {
                fields.emplace_back();
            }
            ++pos;
            SkipBlanks(line, pos);
        }
    }
    return fields;
}
