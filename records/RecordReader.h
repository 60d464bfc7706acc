// Reading one record file into a TimeHistory in g.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "records/Timeserie.h"

using RecordList = std::vector<std::unique_ptr<TimeHistory>>;

// The 1-based number of the first data line: the text trimmed, converted and truncated
// toward zero (2.9 gives 2, -0.5 gives 0). Throws ConvertError with the trimmed text for a
// text that is not a number and for a number whose whole part lies outside the int range
// ("1e300"): no file has that many lines, and no line index can name it.
// The text may use '.' or localeSeparator as decimal separator (StrToFloatDotOrLocale).
int DeriveBeginLine(const std::string& text, char localeSeparator = '.');

// Multiplier from the file's acceleration unit to g, by the unit list's item index:
// the entries of kAccelerationUnits (0 g, 1 m/s2, 2 cm/s2, 3 mm/s2); anything else (the
// empty item, no selection) 1.0.
// gravity is 1 g in cm/s2 (kGravity). Throws DivisionByZeroError for a zero gravity.
double DeriveUnitFactor(int unitIndex, double gravity);

// Reads the record file at path and appends its record to records before reading the
// samples, so that a record whose samples fail to read stays in the list with the samples
// read so far. The record's name is the file name without its folder. Numbers are read with
// '.' as decimal separator whatever the locale (a comma separates fields in record files).
//
// An AT2 file (ReadAt2Header) is read by its header, whatever beginLine and unitFactor say:
// the time step from DT, the values in file order converted from the header's unit to g,
// checked against NPTS (RecordFormatError). Every other file is a two-column file: line
// beginLine - 1 (0-based) and the next give the time step in s (their first fields'
// difference); from line beginLine - 1 on, every line's second field times unitFactor is one
// sample in g. Throws, in the order the reading meets them: FileOpenError; for a two-column
// file ListIndexError with the missing 0-based line index, or with the missing field index
// (0 for a time, 1 for an acceleration); ConvertError with the trimmed field; OverflowError
// when the time step or a sample overflows a double. Errors before the samples leave records
// unchanged.
void ReadRecordFile(const std::string& path, int beginLine, double unitFactor, RecordList& records);
