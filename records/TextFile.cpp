// Reading text files whole: regular files only, bounded size, BOM decoding, line walking.
#include "records/TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <utility>

#include "records/Errors.h"
#include "records/LineScan.h"

namespace {

std::string SystemReason(int error) {
    return std::strerror(error);
}

std::string TooLargeReason(const std::string& sizeText, std::size_t maxBytes) {
    return "The file is " + sizeText + " bytes long; the limit is " + std::to_string(maxBytes) +
           " bytes";
}

// Refuses what is not a regular file of acceptable size; shared by the check before
// opening and the check of the opened descriptor.
void CheckFileStatus(const std::string& path, const struct stat& status, std::size_t maxBytes) {
    if (S_ISDIR(status.st_mode)) {
        throw FileOpenError(path, SystemReason(EISDIR));
    }
    if (!S_ISREG(status.st_mode)) {
        throw FileOpenError(path, "Not a regular file");
    }
    if (static_cast<std::uintmax_t>(status.st_size) > maxBytes) {
        throw FileOpenError(path, TooLargeReason(std::to_string(status.st_size), maxBytes));
    }
}

// Closes the descriptor on every way out.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd(fd) {}
    ~FileDescriptor() { ::close(fd); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd; }

  private:
    int fd;
};

// The bytes of a file read whole.
struct FileBytes {
    PageBlock block;
    std::size_t size = 0;
};

// Reads to the end straight into a page block, refusing a file that grows past maxBytes
// while it is read (a file whose size said nothing, as /proc files give 0, included).
FileBytes ReadAll(const std::string& path, int fd, std::size_t sizeHint, std::size_t maxBytes) {
    constexpr std::size_t kMinimumRoom = 65536;
    FileBytes file;
    file.block = PageBlock(std::min(sizeHint, maxBytes) + 1);  // one more byte shows the end
    for (;;) {
        if (file.size == file.block.Size()) {
            PageBlock larger(
                std::min(std::max(2 * file.size, file.size + kMinimumRoom), maxBytes + 1));
            std::memcpy(larger.Data(), file.block.Data(), file.size);
            file.block = std::move(larger);
        }
        const ssize_t count =
            ::read(fd, file.block.Data() + file.size, file.block.Size() - file.size);
        if (count == 0) {
            return file;
        }
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw FileOpenError(path, SystemReason(errno));
        }
        file.size += static_cast<std::size_t>(count);
        if (file.size > maxBytes) {
            throw FileOpenError(path,
                                TooLargeReason("more than " + std::to_string(maxBytes), maxBytes));
        }
    }
}

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

constexpr std::uint32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(std::uint32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(std::uint32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// UTF-16 code units from offset `start` (past the byte-order mark) to UTF-8.
std::string Utf16ToUtf8(std::string_view bytes, std::size_t start, bool bigEndian) {
    const std::size_t unitCount = (bytes.size() - start) / 2;
    auto unitAt = [&](std::size_t i) -> std::uint32_t {
        const auto first = static_cast<unsigned char>(bytes[start + 2 * i]);
        const auto second = static_cast<unsigned char>(bytes[start + 2 * i + 1]);
        return bigEndian ? (first << 8) | second : (second << 8) | first;
    };
    std::string out;
    out.reserve(unitCount * 3 + 3);
    for (std::size_t i = 0; i < unitCount; ++i) {
        const std::uint32_t unit = unitAt(i);
        if (IsHighSurrogate(unit) && i + 1 < unitCount && IsLowSurrogate(unitAt(i + 1))) {
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 1) - 0xDC00));
            ++i;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, unit);
        }
    }
    if ((bytes.size() - start) % 2 != 0) {
        AppendUtf8(out, kReplacement);  // a half code unit at the end
    }
    return out;
}

bool StartsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

enum class Encoding { Bytes, Utf8Mark, Utf16Little, Utf16Big };

Encoding EncodingOf(std::string_view bytes) {
    if (StartsWith(bytes, "\xEF\xBB\xBF")) {
        return Encoding::Utf8Mark;
    }
    if (StartsWith(bytes, "\xFF\xFE")) {
        return Encoding::Utf16Little;
    }
    if (StartsWith(bytes, "\xFE\xFF")) {
        return Encoding::Utf16Big;
    }
    return Encoding::Bytes;
}

std::vector<std::string> AllLines(std::string_view text) {
    std::vector<std::string> lines;
    LineCursor cursor(text);
    std::string_view line;
    while (cursor.Next(line)) {
        lines.emplace_back(line);
    }
    return lines;
}

}  // namespace

LoadedText LoadTextFile(const std::string& path, std::size_t maxBytes) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        throw FileOpenError(path, SystemReason(errno));
    }
    CheckFileStatus(path, status, maxBytes);
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        throw FileOpenError(path, SystemReason(errno));
    }
    const FileDescriptor file(fd);
    if (::fstat(file.Get(), &status) != 0) {
        throw FileOpenError(path, SystemReason(errno));
    }
    CheckFileStatus(path, status, maxBytes);  // the path may now name another file
    FileBytes read = ReadAll(path, file.Get(), static_cast<std::size_t>(status.st_size), maxBytes);
    const std::string_view bytes(read.block.Data(), read.size);
    LoadedText text;
    switch (EncodingOf(bytes)) {
        case Encoding::Utf16Little:
        case Encoding::Utf16Big:
            text.decoded = Utf16ToUtf8(bytes, 2, EncodingOf(bytes) == Encoding::Utf16Big);
            return text;
        case Encoding::Utf8Mark:
            text.start = 3;
            break;
        case Encoding::Bytes:
            break;
    }
    text.size = read.size - text.start;
    text.bytes = std::move(read.block);
    return text;
}

std::string ReadTextFile(const std::string& path, std::size_t maxBytes) {
    return std::string(LoadTextFile(path, maxBytes).Text());
}

std::string DecodeText(std::string bytes) {
    switch (EncodingOf(bytes)) {
        case Encoding::Utf8Mark:
            bytes.erase(0, 3);
            return bytes;
        case Encoding::Utf16Little:
            return Utf16ToUtf8(bytes, 2, false);
        case Encoding::Utf16Big:
            return Utf16ToUtf8(bytes, 2, true);
        case Encoding::Bytes:
            break;
    }
    return bytes;
}

bool LineCursor::Next(std::string_view& line) {
    if (pos >= text.size()) {
        return false;
    }
    const char* const first = text.data() + pos;
    const char* const last = text.data() + text.size();
    const char* const end = FindLineBreak(first, last);
    line = std::string_view(first, static_cast<std::size_t>(end - first));
    pos = static_cast<std::size_t>(PastLineBreak(end, last) - text.data());
    return true;
}

std::vector<std::string> ReadTextLines(const std::string& path) {
    return AllLines(ReadTextFile(path));
}

std::vector<std::string> DecodeTextLines(const std::string& bytes) {
    return AllLines(DecodeText(bytes));
}
