// Recognising a PEER NGA strong-motion file (.AT2) by its header.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// What an AT2 header says about the values that follow it.
struct At2Header {
    long long pointCount = 0;    // NPTS: the number of values
    double timeStep = 0.0;       // DT in s
    double unitFactor = 1.0;     // g per unit of the values
    std::size_t dataOffset = 0;  // where the line after the NPTS line starts in the text
};

// The header of an AT2 file, or nothing when the text is not one. A text is an AT2 file when
// one of its first four lines reads "<quantity> TIME SERIES IN UNITS OF <unit>" (or TIME
// HISTORY, any letter case) and the line after it names NPTS and DT, in the NGA form
// "NPTS=  16396, DT=   0.005 SEC" or the older "16396  0.0050  NPTS, DT". Once recognised the
// file is an AT2 file for good: a header that cannot be used throws RecordFormatError naming
// path, for a velocity or displacement series, a unit that is no acceleration unit, an NPTS
// line without a count and a time step, or fewer than two points.
std::optional<At2Header> ReadAt2Header(std::string_view text, const std::string& path);
