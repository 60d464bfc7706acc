// Reading the values of an AT2 file after its header.
#pragma once

#include <string>
#include <string_view>

#include "records/At2Header.h"
#include "records/RecordReader.h"

// Reads the values that follow the header, in file order and as many per line as a line
// holds, each times header.unitFactor (g per unit), into a record named name with the
// header's time step, appended to records before its samples are read. Throws ConvertError
// for a value that is not a number (the record keeps the values before it), OverflowError, and
// RecordFormatError naming path, NPTS and the count found when the file does not hold
// exactly NPTS values.
void ReadAt2Record(std::string_view text, const At2Header& header, const std::string& name,
                   const std::string& path, RecordList& records);
