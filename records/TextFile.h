// Whole-file reading of a text file into lines.
#pragma once

#include <string>
#include <vector>

// Reads the file at path into lines (line index 0 = line 1). A byte-order mark selects
// UTF-8 or UTF-16 LE/BE (converted to UTF-8); without one the bytes are kept as they are.
// Lines end at CR, LF or CR LF; a break at the very end adds no empty line.
// Throws FileOpenError with the path and the system's reason.
std::vector<std::string> ReadTextLines(const std::string& path);

// The same decoding applied to bytes already in memory.
std::vector<std::string> DecodeTextLines(const std::string& bytes);
