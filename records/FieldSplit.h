// Splitting one line of a record file into fields.
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

// Splits a line at commas and blanks (codes 1..32), honouring double-quoted fields with
// doubled quotes inside (an unclosed quote runs to the end of the line); a trailing comma
// adds one empty field, two commas enclose an empty field, a line of blanks has no fields.
// Each field is returned trimmed. Splitting stops after maxFields fields, so a caller that
// needs only the first two pays nothing for a hostile line of millions of commas.
std::vector<std::string> SplitFields(
    std::string_view line, std::size_t maxFields = std::numeric_limits<std::size_t>::max());
