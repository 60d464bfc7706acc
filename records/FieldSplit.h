// Splitting one line of a record file into fields.
#pragma once

#include <string>
#include <vector>

// Splits a line at commas and blanks (codes 1..32), honouring double-quoted fields with
// doubled quotes inside; a trailing comma adds one empty field, two commas enclose an
// empty field, a line of blanks has no fields. Each field is returned trimmed.
std::vector<std::string> SplitFields(const std::string& line);
