// The record file reader: begin line, unit factor and the reading of one file.
#include "records/RecordReader.h"

#include <cmath>
#include <filesystem>
#include <limits>
#include <optional>

#include "records/At2Header.h"
#include "records/At2Reader.h"
#include "records/Errors.h"
#include "records/NumberText.h"
#include "records/TextFile.h"
#include "records/TwoColumnReader.h"
#include "records/Units.h"

namespace {

double Reciprocal(double divisor) {
    if (divisor == 0.0) {
        throw DivisionByZeroError();
    }
    return 1.0 / divisor;
}

}  // namespace

int DeriveBeginLine(const std::string& text, char localeSeparator) {
    const std::string trimmed = Trim(text);
    const double whole = std::trunc(StrToFloatDotOrLocale(trimmed, localeSeparator));
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

void ReadRecordFile(const std::string& path, int beginLine, double unitFactor,
                    RecordList& records) {
    const LoadedText file = LoadTextFile(path);
    const std::string name = std::filesystem::path(path).filename().string();
    if (const std::optional<At2Header> header = ReadAt2Header(file.Text(), path)) {
        ReadAt2Record(file.Text(), *header, name, path, records);
        return;
    }
    ReadTwoColumnRecord(file.Text(), name, beginLine, unitFactor, records);
}
