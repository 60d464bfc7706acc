// libFuzzer target: arbitrary bytes as a record file through the whole read path.
//
// Input layout: byte 0 the unit list's item index (signed, so "no selection" values come up
// too), byte 1 picks the decimal separator, byte 2 the length (0..16) of the begin-line
// text that follows; every byte after that is the file's content.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "records/Errors.h"
#include "records/FieldSplit.h"
#include "records/NumberText.h"
#include "records/RecordReader.h"
#include "records/TextFile.h"

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

// The helpers on their own: splitting, conversion and the two number formats.
void ExerciseHelpers(const std::vector<std::string>& lines, char separator) {
    for (std::size_t i = 0; i < lines.size() && i < kMaxCheckedLines; ++i) {
        for (const std::string& field : SplitFields(lines[i], kMaxCheckedFields)) {
            Require(field == Trim(field));
            try {
                const double value = StrToFloat(field, separator);
                Require(std::isfinite(value));
                FormatGeneral(value);
                FormatFixed4(value, separator);
            } catch (const OrvantaError&) {
            }
        }
    }
}

// Every sample is field 2 of its data line converted and multiplied by the unit factor.
void CheckRecord(const TimeHistory& record, const std::vector<std::string>& lines, int beginLine,
                 double unitFactor, char separator) {
    const std::size_t first = static_cast<std::size_t>(beginLine - 1);
    Require(record.Count() >= 2);
    Require(static_cast<std::size_t>(record.Count()) == lines.size() - first);
    for (std::size_t i = first; i < lines.size(); ++i) {
        const double expected = StrToFloat(SplitFields(lines[i]).at(1), separator) * unitFactor;
        const double got = record.GetAcc()[i - first];
        Require(got == expected || (std::isnan(got) && std::isnan(expected)));
    }
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
    RecordList records;
    try {
        // Reading from disk must decode exactly as reading from memory does.
        Require(ReadTextLines(scratch.path) == lines);
        ReadRecordFile(scratch.path, beginLine, unitFactor, records, in.decimalSeparator);
    } catch (const OrvantaError&) {
        Require(records.size() <= 1);
        return 0;
    }
    Require(records.size() == 1);
    Require(records[0]->GetName() == scratch.path.substr(scratch.path.rfind('/') + 1));
    CheckRecord(*records[0], lines, beginLine, unitFactor, in.decimalSeparator);
    return 0;
}
