// Units of the records: 1 g in cm/s2, and the acceleration units a record file may use.
#pragma once

#include <array>
#include <string_view>

// 1 g in cm/s2, the value of gravity the reader, the engine, the window and the batch tool use.
inline constexpr double kGravity = 980.0;

// An acceleration unit of record files. gravityMultiple is 1 g in this unit divided by
// gravity in cm/s2 (m/s2 0.01, cm/s2 1, mm/s2 10), so a value in this unit times
// 1 / (gravityMultiple * gravity) is in g; 0 marks g itself, which needs no conversion.
struct AccelerationUnit {
    std::string_view listText;    // the item of the window's unit list
    std::string_view optionName;  // the batch tool's --unit value
    double gravityMultiple;
};

// The units by unit index, in the order of the window's list.
inline constexpr std::array<AccelerationUnit, 4> kAccelerationUnits = {{
    {"g (1g = 980cm/s2)", "g", 0.0},
    {"m/s2", "m/s2", 0.01},
    {"cm/s2", "cm/s2", 1.0},
    {"mm/s2", "mm/s2", 10.0},
}};
