// The two-column reader, walking the text in place. Each line goes by a fast path that
// handles the fields engineers write (numbers separated by blanks, tabs or a comma); a line
// it cannot vouch for (quotes, NUL bytes, empty fields, a field that is no number, too few
// fields) is read again by the field splitter and StrToFloat, which give the value or the
// exact error, so both paths read every line alike.
#include "records/TwoColumnReader.h"

#include <cmath>
#include <memory>
#include <vector>

#include "records/Errors.h"
#include "records/FieldSplit.h"
#include "records/LineScan.h"
#include "records/NumberScan.h"
#include "records/NumberText.h"

namespace {

// Field `index` (0-based) of a line by the splitting rule, converted; ListIndexError(index)
// when the line has fewer fields.
double SplitFieldValue(std::string_view line, std::size_t index) {
    const std::vector<std::string> fields = SplitFields(line, index + 1);
    if (fields.size() <= index) {
        throw ListIndexError(static_cast<long long>(index));
    }
    return StrToFloat(fields[index]);
}

// The number in field `index` of the line starting at p, when the fast path can vouch for
// it; nullptr otherwise. On success the number ends at the returned position.
const char* FastFieldValue(const char* p, const char* last, std::size_t index, double& value) {
    const char* q = SkipBlanks(p, last);
    for (std::size_t field = 0;; ++field) {
        if (q == last || ClassOf(*q) != ByteClass::Other || *q == '"') {
            return nullptr;  // no such field, an empty or a quoted one
        }
        if (field == index) {
            const char* end = ScanNumber(q, last, value);
            return end != nullptr && EndsField(end, last) ? end : nullptr;
        }
        q = SkipBlanks(SkipRun(q, last), last);
        if (q < last && *q == ',') {
            if (q + 1 == last || ClassOf(q[1]) == ByteClass::Break) {
                return nullptr;  // a trailing comma adds an empty field
            }
            q = SkipBlanks(q + 1, last);
        }
    }
}

// Field `index` of the line at p, converted; p moves past the line.
double FieldValue(const char*& p, const char* last, std::size_t index) {
    const char* const lineStart = p;
    double value = 0.0;
    if (const char* end = FastFieldValue(lineStart, last, index, value)) {
        p = NextLine(end, last);
        return value;
    }
    const char* const lineEnd = FindLineBreak(lineStart, last);
    p = PastLineBreak(lineEnd, last);
    return SplitFieldValue(
        std::string_view(lineStart, static_cast<std::size_t>(lineEnd - lineStart)), index);
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

void ReadTwoColumnRecord(std::string_view text, const std::string& name, int beginLine,
                         double unitFactor, RecordList& records) {
    const char* p = text.data();
    const char* const last = p + text.size();
    const long long firstIndex = static_cast<long long>(beginLine) - 1;
    if (firstIndex < 0) {
        throw ListIndexError(firstIndex);
    }
    for (long long i = 0; i < firstIndex; ++i) {
        if (p == last) {
            throw ListIndexError(firstIndex);
        }
        p = NextLine(p, last);
    }
    const char* const dataStart = p;
    if (p == last) {
        throw ListIndexError(firstIndex);
    }
    const double t0 = FieldValue(p, last, 0);
    if (p == last) {
        throw ListIndexError(firstIndex + 1);
    }
    const double t1 = FieldValue(p, last, 0);
    const double timeStep = CheckedDifference(t1, t0);

    records.push_back(std::make_unique<TimeHistory>(name, timeStep, RecordFormat::TwoColumn));
    TimeHistory& record = *records.back();
    p = dataStart;
    while (p < last) {
        const double sample = FieldValue(p, last, 1) * unitFactor;
        if (std::isinf(sample)) {
            throw OverflowError();  // only with a unit factor above 1
        }
        record.AddSample(sample);
    }
}
