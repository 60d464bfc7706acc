// Reading one record file into a TimeHistory in g.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "records/Timeserie.h"

using RecordList = std::vector<std::unique_ptr<TimeHistory>>;

// The 1-based number of the first data line: the text trimmed, converted and truncated
// toward zero (2.9 gives 2). Throws ConvertError for a text that is not a number.
int DeriveBeginLine(const std::string& text, char decimalSeparator = '.');

// Multiplier from the file's acceleration unit to g, by the unit list's item index:
// 0 g, 1 m/s2, 2 cm/s2, 3 mm/s2; anything else (the empty item, no selection) 1.0.
// gravity is 1 g in cm/s2.
double DeriveUnitFactor(int unitIndex, double gravity);

// Reads the record file at path and appends its record to records before reading the
// samples, so that a record whose samples fail to read stays in the list with the samples
// read so far. Samples are multiplied by unitFactor; the time step is the difference of
// the first two data lines' times. Throws FileOpenError, ListIndexError or ConvertError.
void ReadRecordFile(const std::string& path, int beginLine, double unitFactor, RecordList& records,
                    char decimalSeparator = '.');
