// The AT2 values: five per line in NGA files, walked in place. A line the fast path cannot
// vouch for (commas, quotes, NUL bytes, a value that is no number) is split again by the field
// splitter from the value where the fast path stopped, so both read every line alike.
#include "records/At2Reader.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "records/Errors.h"
#include "records/FieldSplit.h"
#include "records/LineScan.h"
#include "records/NumberScan.h"
#include "records/NumberText.h"

namespace {

[[noreturn, gnu::cold]] void ThrowOverflow() {
    throw OverflowError();
}

inline void AddValue(TimeHistory& record, double value, double unitFactor) {
    const double sample = value * unitFactor;
    if (std::isinf(sample)) {
        ThrowOverflow();
    }
    record.AddSample(sample);
}

// The values of the line at p, blank-separated; returns where the line ends, or nullptr at
// the first field the fast path leaves to the splitter, with taken set to the values taken.
const char* FastLineValues(const char* p, const char* last, double unitFactor, TimeHistory& record,
                           std::size_t& taken) {
    taken = 0;
    for (const char* q = SkipBlanks(p, last);; q = SkipBlanks(q, last)) {
        if (q == last || ClassOf(*q) == ByteClass::Break) {
            return q;
        }
        double value = 0.0;
        const char* end = *q == '"' ? nullptr : ScanNumber(q, last, value);
        if (end == nullptr || !(end == last || ClassOf(*end) == ByteClass::Blank ||
                                ClassOf(*end) == ByteClass::Break)) {
            return nullptr;
        }
        AddValue(record, value, unitFactor);
        ++taken;
        q = end;
    }
}

void ReadValues(const char* p, const char* last, double unitFactor, TimeHistory& record) {
    while (p < last) {
        std::size_t taken = 0;
        if (const char* end = FastLineValues(p, last, unitFactor, record, taken)) {
            p = PastLineBreak(end, last);
            continue;
        }
        const char* const lineEnd = FindLineBreak(p, last);
        const std::vector<std::string> fields =
            SplitFields(std::string_view(p, static_cast<std::size_t>(lineEnd - p)));
        for (std::size_t i = taken; i < fields.size(); ++i) {
            AddValue(record, StrToFloat(fields[i]), unitFactor);
        }
        p = PastLineBreak(lineEnd, last);
    }
}

}  // namespace

void ReadAt2Record(std::string_view text, const At2Header& header, const std::string& name,
                   const std::string& path, RecordList& records) {
    records.push_back(std::make_unique<TimeHistory>(name, header.timeStep, RecordFormat::PeerAt2));
    TimeHistory& record = *records.back();
    const std::string_view values = text.substr(header.dataOffset);
    // Every value but the last takes a character and a separator: a hostile NPTS reserves no
    // more than the text can hold.
    record.ReserveSamples(static_cast<std::size_t>(
        std::min<long long>(header.pointCount, static_cast<long long>(values.size() / 2 + 1))));
    ReadValues(values.data(), values.data() + values.size(), header.unitFactor, record);
    const auto found = static_cast<long long>(record.Count());
    if (found != header.pointCount) {
        throw RecordFormatError("The file \"" + path + "\" gives NPTS = " +
                                std::to_string(header.pointCount) + " in its header, but holds " +
                                std::to_string(found) + (found == 1 ? " value" : " values"));
    }
}
