// The errors the core raises; what() is the exact text shown to the user.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

// Base of every error the core raises on purpose.
class OrvantaError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A text that is not a number: "'%s' is not a valid floating point value". The text is
// shown as given, except that a NUL byte (which would cut the message short) shows as
// U+FFFD and a text longer than kMaxShownBytes is cut there (at a UTF-8 character boundary)
// and ends in "...", so a hostile multi-megabyte field cannot flood the message box.
class ConvertError : public OrvantaError {
  public:
    static constexpr std::size_t kMaxShownBytes = 100;
    explicit ConvertError(const std::string& text);
};

// A file recognised by its header (an AT2 file) whose header or values do not fit together;
// the message names the file and says what is wrong.
class RecordFormatError : public OrvantaError {
  public:
    using OrvantaError::OrvantaError;
};

// A text as a message may show it: NUL bytes as U+FFFD, and cut after
// ConvertError::kMaxShownBytes (at a UTF-8 character boundary) with "..." appended.
std::string ShownText(std::string_view text);

// A missing line or field: "List index out of bounds (%d)".
class ListIndexError : public OrvantaError {
  public:
    explicit ListIndexError(long long index);
};

// A file that cannot be opened or read: "Cannot open file "%s". %s".
class FileOpenError : public OrvantaError {
  public:
    FileOpenError(const std::string& path, const std::string& reason);
};

// Arithmetic faults, raised explicitly where they arise (Linux gives silent inf/NaN).
class DivisionByZeroError : public OrvantaError {
  public:
    DivisionByZeroError();  // "Floating point division by zero"
};
class InvalidOperationError : public OrvantaError {
  public:
    InvalidOperationError();  // "Invalid floating point operation"
};
class OverflowError : public OrvantaError {
  public:
    OverflowError();  // "Floating point overflow"
};

// Input the analysis refuses before doing any work (bad period step, grid or store too
// large, damping ratio or time step outside the oscillator's domain). The message names
// the field and its value.
class ParameterError : public OrvantaError {
  public:
    using OrvantaError::OrvantaError;
};
