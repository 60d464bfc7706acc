// The file formats a record can be read from.
#pragma once

#include <string_view>

enum class RecordFormat {
    TwoColumn,  // time and acceleration per line, after Begin Line, in the chosen unit
    PeerAt2,    // PEER NGA strong-motion database: header with unit, NPTS and DT, then values
};

// The format's name as the record list shows it.
constexpr std::string_view RecordFormatName(RecordFormat format) {
    switch (format) {
        case RecordFormat::PeerAt2:
            return "PEER NGA AT2";
        case RecordFormat::TwoColumn:
            break;
    }
    return "two columns (time, acceleration)";
}
