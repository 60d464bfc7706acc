// What the record list tells about a record when the pointer rests on it.
#pragma once

#include <QString>

class TimeHistory;

// The file format, the number of samples, the time step and duration in s and the peak
// acceleration in g, in the user's locale, one per line.
QString RecordToolTip(const TimeHistory& record);
