// The record reader as it stood before the fast reader, kept as the tests' oracle.
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "records/RecordReader.h"

// The number grammar matched on a trimmed copy, then std::from_chars on a canonical copy.
double ReferenceStrToFloat(std::string_view text, char decimalSeparator = '.');

// Field splitting into trimmed strings, one per field.
std::vector<std::string> ReferenceSplitFields(
    std::string_view line, std::size_t maxFields = std::numeric_limits<std::size_t>::max());

// The two-column reading of one file, with the same messages and effects as ReadRecordFile
// gives a file it does not recognise as an AT2 file.
void ReferenceReadRecordFile(const std::string& path, int beginLine, double unitFactor,
                             RecordList& records, char decimalSeparator = '.');
