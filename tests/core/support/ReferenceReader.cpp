// The record reader as it stood before the fast reader: every line split into field strings,
// every field trimmed into a string and matched against the grammar before std::from_chars.
// Slow and obvious; the tests and the fuzz target hold the fast reader against it.
#include "support/ReferenceReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <system_error>

#include "records/Errors.h"
#include "records/TextFile.h"

namespace {

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The parts of a text that matched the number grammar.
struct NumberParts {
    bool negative = false;
    std::string_view integerDigits;
    std::string_view fractionDigits;
    bool exponentNegative = false;
    std::string_view exponentDigits;
};

std::string_view TakeDigits(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos])) {
        ++pos;
    }
    return text.substr(start, pos - start);
}

bool TakeSign(std::string_view text, std::size_t& pos) {
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        return text[pos++] == '-';
    }
    return false;
}

// Matches sign, digits, fraction and exponent; false when anything else is found.
bool MatchNumber(std::string_view text, char separator, NumberParts& parts) {
    std::size_t pos = 0;
    parts.negative = TakeSign(text, pos);
    parts.integerDigits = TakeDigits(text, pos);
    if (pos < text.size() && text[pos] == separator) {
        ++pos;
        parts.fractionDigits = TakeDigits(text, pos);
    }
    if (parts.integerDigits.empty() && parts.fractionDigits.empty()) {
        return false;
    }
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        parts.exponentNegative = TakeSign(text, pos);
        parts.exponentDigits = TakeDigits(text, pos);
        if (parts.exponentDigits.empty()) {
            return false;
        }
    }
    return pos == text.size();
}

// The plain "digits.digitsEexp" spelling std::from_chars reads (no '+', '.' as separator).
std::string CanonicalSpelling(const NumberParts& parts) {
    std::string out;
    out.reserve(parts.integerDigits.size() + parts.fractionDigits.size() +
                parts.exponentDigits.size() + 4);
    out.append(parts.integerDigits.empty() ? std::string_view("0") : parts.integerDigits);
    if (!parts.fractionDigits.empty()) {
        out.push_back('.');
        out.append(parts.fractionDigits);
    }
    if (!parts.exponentDigits.empty()) {
        out.push_back('e');
        if (parts.exponentNegative) {
            out.push_back('-');
        }
        out.append(parts.exponentDigits);
    }
    return out;
}

// Decimal order of magnitude of a non-zero mantissa times its exponent: the value lies in
// [10^(m-1), 10^m). Saturated, so an exponent of any length is safe; only its sign matters
// to tell an overflow (far above 10^308) from an underflow (far below 10^-323).
std::int64_t DecimalMagnitude(const NumberParts& parts) {
    constexpr std::int64_t kSaturation = 1'000'000'000'000LL;
    std::int64_t exponent = 0;
    for (const char c : parts.exponentDigits) {
        exponent = std::min(exponent * 10 + (c - '0'), kSaturation);
    }
    if (parts.exponentNegative) {
        exponent = -exponent;
    }
    const std::string_view intDigits = parts.integerDigits;
    const std::size_t firstInt = intDigits.find_first_not_of('0');
    if (firstInt != std::string_view::npos) {
        return exponent + static_cast<std::int64_t>(intDigits.size() - firstInt);
    }
    const std::size_t firstFrac = parts.fractionDigits.find_first_not_of('0');
    if (firstFrac == std::string_view::npos) {
        return -kSaturation;  // zero never overflows
    }
    return exponent - static_cast<std::int64_t>(firstFrac);
}

// Removes leading and trailing characters with codes up to 32.
std::string ReferenceTrim(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlankOrControl(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlankOrControl(text[end - 1])) {
        --end;
    }
    return std::string(text.substr(begin, end - begin));
}

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

// Walks lines ending at CR, LF or CR LF; a break at the very end adds no empty line.
class ReferenceLineCursor {
  public:
    explicit ReferenceLineCursor(std::string_view text) : text(text) {}
    bool Next(std::string_view& line) {
        if (pos >= text.size()) {
            return false;
        }
        const std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            line = text.substr(pos);
            pos = text.size();
            return true;
        }
        line = text.substr(pos, end - pos);
        pos = (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? end + 2
                                                                                    : end + 1;
        return true;
    }

  private:
    std::string_view text;
    std::size_t pos = 0;
};

}  // namespace

double ReferenceStrToFloat(std::string_view text, char decimalSeparator) {
    const std::string trimmed = ReferenceTrim(text);
    NumberParts parts;
    if (!MatchNumber(trimmed, decimalSeparator, parts)) {
        throw ConvertError(trimmed);
    }
    const std::string canonical = CanonicalSpelling(parts);
    double value = 0.0;
    const auto result =
        std::from_chars(canonical.data(), canonical.data() + canonical.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (DecimalMagnitude(parts) > 0) {
            throw ConvertError(trimmed);  // beyond the largest double
        }
        value = 0.0;  // below the smallest subnormal: underflow passes quietly
    } else if (result.ec != std::errc() || result.ptr != canonical.data() + canonical.size()) {
        throw ConvertError(trimmed);
    }
    return parts.negative ? -value : value;
}

std::vector<std::string> ReferenceSplitFields(std::string_view line, std::size_t maxFields) {
    std::vector<std::string> fields;
    std::size_t pos = 0;
    SkipBlanks(line, pos);
    while (pos < line.size() && fields.size() < maxFields) {
        if (line[pos] == kQuote) {
            fields.push_back(ReferenceTrim(TakeQuoted(line, pos)));
        } else {
            fields.push_back(ReferenceTrim(TakeRun(line, pos)));
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

namespace {

// Field `index` (0-based) of a line, converted; ListIndexError(index) when the line has
// fewer fields. Only the fields up to index are split out.
double FieldValue(std::string_view line, std::size_t index, char decimalSeparator) {
    const std::vector<std::string> fields = ReferenceSplitFields(line, index + 1);
    if (fields.size() <= index) {
        throw ListIndexError(static_cast<long long>(index));
    }
    return ReferenceStrToFloat(fields[index], decimalSeparator);
}

// A cursor whose next line is line `index` (0-based); ListIndexError(index) when the text
// has no such line, also for a negative index (a begin line below 1).
ReferenceLineCursor CursorAtLine(std::string_view text, long long index) {
    if (index < 0) {
        throw ListIndexError(index);
    }
    ReferenceLineCursor cursor(text);
    std::string_view skipped;
    for (long long i = 0; i < index; ++i) {
        if (!cursor.Next(skipped)) {
            throw ListIndexError(index);
        }
    }
    return cursor;
}

// The next line of the cursor; ListIndexError(index) when there is none.
std::string_view LineOrThrow(ReferenceLineCursor& cursor, long long index) {
    std::string_view line;
    if (!cursor.Next(line)) {
        throw ListIndexError(index);
    }
    return line;
}

// a - b, raising the system's overflow error instead of giving an infinity.
double CheckedDifference(double a, double b) {
    const double difference = a - b;
    if (std::isinf(difference)) {
        throw OverflowError();
    }
    return difference;
}

}  // namespace

void ReferenceReadRecordFile(const std::string& path, int beginLine, double unitFactor,
                             RecordList& records, char decimalSeparator) {
    const std::string text = ReadTextFile(path);
    const long long firstIndex = static_cast<long long>(beginLine) - 1;
    const ReferenceLineCursor dataStart = CursorAtLine(text, firstIndex);

    ReferenceLineCursor cursor = dataStart;
    const double t0 = FieldValue(LineOrThrow(cursor, firstIndex), 0, decimalSeparator);
    const double t1 = FieldValue(LineOrThrow(cursor, firstIndex + 1), 0, decimalSeparator);
    const double timeStep = CheckedDifference(t1, t0);

    const std::string name = std::filesystem::path(path).filename().string();
    records.push_back(std::make_unique<TimeHistory>(name, timeStep));
    TimeHistory& record = *records.back();

    cursor = dataStart;
    std::string_view line;
    while (cursor.Next(line)) {
        const double sample = FieldValue(line, 1, decimalSeparator) * unitFactor;
        if (std::isinf(sample)) {
            throw OverflowError();  // only with a unit factor above 1
        }
        record.AddSample(sample);
    }
}
