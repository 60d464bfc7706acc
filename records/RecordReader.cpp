// The record file reader: begin line, unit factor and the reading of one file.
#include "records/RecordReader.h"

#include <cmath>
#include <filesystem>
#include <limits>
#include <string_view>

#include "records/Errors.h"
#include "records/FieldSplit.h"
#include "records/NumberText.h"
#include "records/TextFile.h"
#include "records/Units.h"

namespace {

// Field `index` (0-based) of a line, converted; ListIndexError(index) when the line has
// fewer fields. Only the fields up to index are split out.
double FieldValue(std::string_view line, std::size_t index, char decimalSeparator) {
    const std::vector<std::string> fields = SplitFields(line, index + 1);
    if (fields.size() <= index) {
        throw ListIndexError(static_cast<long long>(index));
    }
    return StrToFloat(fields[index], decimalSeparator);
}

// A cursor whose next line is line `index` (0-based); ListIndexError(index) when the text
// has no such line, also for a negative index (a begin line below 1).
LineCursor CursorAtLine(std::string_view text, long long index) {
    if (index < 0) {
        throw ListIndexError(index);
    }
    LineCursor cursor(text);
    std::string_view skipped;
    for (long long i = 0; i < index; ++i) {
        if (!cursor.Next(skipped)) {
            throw ListIndexError(index);
        }
    }
    return cursor;
}

// The next line of the cursor; ListIndexError(index) when there is none.
std::string_view LineOrThrow(LineCursor& cursor, long long index) {
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

double Reciprocal(double divisor) {
    if (divisor == 0.0) {
        throw DivisionByZeroError();
    }
    return 1.0 / divisor;
}

}  // namespace

int DeriveBeginLine(const std::string& text, char decimalSeparator) {
    const std::string trimmed = Trim(text);
    const double whole = std::trunc(StrToFloat(trimmed, decimalSeparator));
    if (whole < std::numeric_limits<int>::min() || whole > std::numeric_limits<int>::max()) {
        throw ConvertError(trimmed);
    }
    return static_cast<int>(whole);
}

double DeriveUnitFactor(int unitIndex, double gravity) {
    if (unitIndex < 0 || unitIndex >= static_cast<int>(kAccelerationUnits.size())) {
        return 1.0;  // the empty item, no selection: taken as g
    }
    const double multiple = kAccelerationUnits[static_cast<std::size_t>(unitIndex)].gravityMultiple;
    if (multiple == 0.0) {
        return 1.0;  // g
    }
    return Reciprocal(multiple * gravity);
}

void ReadRecordFile(const std::string& path, int beginLine, double unitFactor, RecordList& records,
                    char decimalSeparator) {
    const std::string text = ReadTextFile(path);
    const long long firstIndex = static_cast<long long>(beginLine) - 1;
    const LineCursor dataStart = CursorAtLine(text, firstIndex);

    LineCursor cursor = dataStart;
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
