// libFuzzer target: arbitrary bytes as a record file through the whole read path, held
// against the old reader (the tests' reference) for two-column files and against the
// splitting rule for AT2 files.
//
// Input layout: byte 0 the unit list's item index (signed, so "no selection" values come up
// too), byte 1 picks the decimal separator of the window's fields (the begin line and the
// number helpers; record files are read with '.'), byte 2 the length (0..16) of the
// begin-line text that follows; every byte after that is the file's content.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "records/At2Header.h"
#include "records/Errors.h"
#include "records/FieldSplit.h"
#include "records/NumberText.h"
#include "records/RecordReader.h"
#include "records/TextFile.h"
#include "support/ReferenceReader.h"

namespace {

constexpr double kGravity = 980.0;  // 1 g in cm/s2
constexpr std::size_t kHeaderBytes = 3;
constexpr std::size_t kMaxBeginLineText = 16;
// The helpers are driven by hand on a few lines and fields per input: the read path already
// splits and converts every data line, and each refused field costs a thrown exception.
constexpr std::size_t kMaxCheckedLines = 8;
constexpr std::size_t kMaxCheckedFields = 4;

struct FuzzInput {
    int unitIndex = 0;
    char decimalSeparator = '.';
    std::string beginLineText = "2";
    std::string fileBytes;
};

FuzzInput ParseInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in;
    if (size < kHeaderBytes) {
        in.fileBytes.assign(reinterpret_cast<const char*>(data), size);
        return in;
    }
    in.unitIndex = static_cast<std::int8_t>(data[0]);
    // Mostly the separators locales really use; now and then any byte at all.
    const std::uint8_t selector = data[1];
    in.decimalSeparator = selector < 160 ? '.' : selector < 224 ? ',' : static_cast<char>(selector);
    const std::size_t textLength =
        std::min<std::size_t>(data[2] % (kMaxBeginLineText + 1), size - kHeaderBytes);
    const char* text = reinterpret_cast<const char*>(data + kHeaderBytes);
    in.beginLineText.assign(text, textLength);
    in.fileBytes.assign(text + textLength, size - kHeaderBytes - textLength);
    return in;
}

// One file per fuzzing process, removed when the process ends. It lives in /dev/shm when
// there is one: rewriting a file on a disk file system costs a millisecond or more per input
// (freeing and discarding its blocks), on tmpfs some ten microseconds.
class ScratchFile {
  public:
    ScratchFile()
        : path((access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
               std::string("/orvanta-fuzz-") + std::to_string(getpid()) + ".txt") {}
    ~ScratchFile() { unlink(path.c_str()); }
    void Write(const std::string& bytes) const {
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0) {
            std::perror(path.c_str());
            std::abort();
        }
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
            if (n <= 0) {
                std::abort();
            }
            done += static_cast<std::size_t>(n);
        }
        close(fd);
    }
    const std::string path;
};

const ScratchFile& Scratch() {
    static const ScratchFile file;
    return file;
}

void Require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

bool SameNumber(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The message of what call throws, or "" when it returns; value set from its result.
template <typename Call>
std::string Outcome(Call call, double& value) {
    try {
        value = call();
    } catch (const OrvantaError& error) {
        return error.what();
    }
    return "";
}

// The helpers on their own, each against the old implementation: splitting, conversion
// (with '.', with the separator, with either) and the two number formats.
void ExerciseHelpers(const std::vector<std::string>& lines, char separator) {
    for (std::size_t i = 0; i < lines.size() && i < kMaxCheckedLines; ++i) {
        const std::vector<std::string> fields = SplitFields(lines[i], kMaxCheckedFields);
        Require(fields == ReferenceSplitFields(lines[i], kMaxCheckedFields));
        for (const std::string& field : fields) {
            Require(field == Trim(field));
            for (const char sep : {'.', separator}) {
                double value = 0.0;
                double expected = 0.0;
                const std::string message = Outcome([&] { return StrToFloat(field, sep); }, value);
                Require(message ==
                        Outcome([&] { return ReferenceStrToFloat(field, sep); }, expected));
                if (message.empty()) {
                    Require(SameNumber(value, expected) && std::isfinite(value));
                    FormatGeneral(value);
                    FormatFixed4(value, separator);
                }
            }
            double either = 0.0;
            double dot = 0.0;
            double local = 0.0;
            const std::string eitherMessage =
                Outcome([&] { return StrToFloatDotOrLocale(field, separator); }, either);
            const bool dotRead = Outcome([&] { return StrToFloat(field); }, dot).empty();
            const bool localRead =
                Outcome([&] { return StrToFloat(field, separator); }, local).empty();
            Require(eitherMessage.empty() == (dotRead || localRead));
            Require(!eitherMessage.empty() || SameNumber(either, dotRead ? dot : local));
        }
    }
}

// Two records alike: name, time step, format and every sample to the bit.
bool SameRecords(const RecordList& a, const RecordList& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const DOUBLEVECTOR& x = a[i]->GetAcc();
        const DOUBLEVECTOR& y = b[i]->GetAcc();
        if (a[i]->GetName() != b[i]->GetName() ||
            !SameNumber(a[i]->GetTimeStep(), b[i]->GetTimeStep()) || x.size() != y.size() ||
            (!x.empty() && std::memcmp(x.data(), y.data(), x.size() * sizeof(double)) != 0)) {
            return false;
        }
    }
    return true;
}

// An AT2 file's samples: every field of every line after the header, in order, as the old
// splitting and conversion read them.
void CheckAt2Record(const TimeHistory& record, const std::string& text, const At2Header& header) {
    Require(record.GetFormat() == RecordFormat::PeerAt2);
    Require(SameNumber(record.GetTimeStep(), header.timeStep));
    std::size_t index = 0;
    LineCursor cursor(std::string_view(text).substr(header.dataOffset));
    std::string_view line;
    while (cursor.Next(line)) {
        for (const std::string& field : ReferenceSplitFields(line)) {
            Require(index < static_cast<std::size_t>(record.Count()));
            Require(SameNumber(record.GetAcc()[index++],
                               ReferenceStrToFloat(field) * header.unitFactor));
        }
    }
    Require(index == static_cast<std::size_t>(record.Count()));
    Require(record.Count() == header.pointCount);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzInput in = ParseInput(data, size);

    int beginLine = 2;
    try {
        beginLine = DeriveBeginLine(in.beginLineText, in.decimalSeparator);
    } catch (const OrvantaError&) {
    }
    const double unitFactor = DeriveUnitFactor(in.unitIndex, kGravity);
    Require(std::isfinite(unitFactor) && unitFactor > 0);

    std::vector<std::string> lines;
    try {
        lines = DecodeTextLines(in.fileBytes);
    } catch (const OrvantaError&) {
    }
    ExerciseHelpers(lines, in.decimalSeparator);

    const ScratchFile& scratch = Scratch();
    scratch.Write(in.fileBytes);
    // Reading from disk must decode exactly as reading from memory does.
    try {
        Require(ReadTextLines(scratch.path) == lines);
    } catch (const OrvantaError&) {
        Require(lines.empty());
    }
    const std::string text = DecodeText(in.fileBytes);
    std::optional<At2Header> at2;
    std::string headerMessage;
    try {
        at2 = ReadAt2Header(text, scratch.path);
    } catch (const RecordFormatError& error) {
        headerMessage = error.what();
    }

    RecordList records;
    std::string message;
    try {
        ReadRecordFile(scratch.path, beginLine, unitFactor, records);
    } catch (const OrvantaError& error) {
        message = error.what();
    }
    Require(records.size() <= 1);
    if (!headerMessage.empty()) {
        Require(message == headerMessage && records.empty());
    } else if (at2) {
        Require(records.size() == 1);
        if (message.empty()) {
            CheckAt2Record(*records[0], text, *at2);
        }
    } else {
        RecordList expected;
        std::string expectedMessage;
        try {
            ReferenceReadRecordFile(scratch.path, beginLine, unitFactor, expected);
        } catch (const OrvantaError& error) {
            expectedMessage = error.what();
        }
        Require(message == expectedMessage);
        Require(SameRecords(records, expected));
    }
    if (!records.empty()) {
        Require(records[0]->GetName() == scratch.path.substr(scratch.path.rfind('/') + 1));
    }
    return 0;
}
