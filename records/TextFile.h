// Whole-file reading of a text file: size and type checks, byte-order marks, lines.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/PageBlock.h"

// Largest file read, in bytes (64 MiB). At some 30 bytes a line that is over two million
// samples, hours of a 100 Hz record; a bigger file is refused before any byte is read, so
// picking a disk image in the open dialog costs nothing. Memory stays bounded: the decoded
// text is at most 1.5 times this, and the samples at most 2 doubles per 4 bytes of file.
inline constexpr std::size_t kMaxTextFileBytes = 64u * 1024u * 1024u;

// A text file read whole and decoded (DecodeText) into memory it owns. Without a byte-order
// mark or with the UTF-8 one the text is the file's bytes where they were read, uncopied.
class LoadedText {
  public:
    std::string_view Text() const {
        return decoded ? std::string_view(*decoded) : std::string_view(bytes.Data() + start, size);
    }

  private:
    friend LoadedText LoadTextFile(const std::string& path, std::size_t maxBytes);
    PageBlock bytes;
    std::size_t start = 0;
    std::size_t size = 0;
    std::optional<std::string> decoded;  // UTF-16 files, converted to UTF-8
};

// Reads the file at path whole and decodes it (DecodeText). Only a regular file is read: a
// directory, pipe, socket or device (/dev/zero never ends) is refused before opening, and
// the file is opened non-blocking so a pipe swapped in meanwhile cannot block. Throws
// FileOpenError "Cannot open file "<path>". <reason>" with the system's reason (strerror),
// "Is a directory", "Not a regular file", or the size and the limit for a file above maxBytes.
LoadedText LoadTextFile(const std::string& path, std::size_t maxBytes = kMaxTextFileBytes);

// LoadTextFile's text as a string.
std::string ReadTextFile(const std::string& path, std::size_t maxBytes = kMaxTextFileBytes);

// Text bytes to UTF-8. A byte-order mark selects UTF-8 (EF BB BF, dropped), UTF-16 LE
// (FF FE) or UTF-16 BE (FE FF), converted to UTF-8; without one the bytes are kept as they
// are. In UTF-16 an unpaired surrogate and an odd last byte each become U+FFFD, so damage
// shows in any message instead of vanishing; nothing is read past the end.
std::string DecodeText(std::string bytes);

// Walks the lines of a text without copying. Lines end at CR, LF or CR LF; a break at the
// very end adds no empty line; an empty text has no lines. The text must outlive the cursor.
class LineCursor {
  public:
    explicit LineCursor(std::string_view text) : text(text) {}
    // Sets line to the next line and returns true; returns false when no line is left.
    bool Next(std::string_view& line);

  private:
    std::string_view text;
    std::size_t pos = 0;
};

// Reads the file at path into lines (line index 0 = line 1): ReadTextFile, then the lines of
// LineCursor. Throws FileOpenError as ReadTextFile. Each line costs a std::string (32 bytes
// even when empty); the record readers walk the text in place instead, so a file of
// millions of empty lines costs them nothing beyond the text.
std::vector<std::string> ReadTextLines(const std::string& path);

// The same decoding and line splitting applied to bytes already in memory.
std::vector<std::string> DecodeTextLines(const std::string& bytes);
