// Reading a two-column record file's text: a time and an acceleration per line.
#pragma once

#include <string>
#include <string_view>

#include "records/RecordReader.h"

// Reads the text of a two-column record file as ReadRecordFile describes: lines before
// beginLine skipped unread, the time step from the first fields of the first two data lines,
// one sample per data line from its second field times unitFactor (g per file unit). Appends
// the record, named name, to records before its samples are read. Throws ListIndexError,
// ConvertError or OverflowError, in the order the reading meets them.
void ReadTwoColumnRecord(std::string_view text, const std::string& name, int beginLine,
                         double unitFactor, RecordList& records);
