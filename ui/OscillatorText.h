// The texts of the oscillator inspector: its window title, the peaks with their instants, the
// read-out values and the "Copy data" table.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "engine/OscillatorHistory.h"
#include "ui/ResponseQuantity.h"

// One period of a run as the inspector shows it.
struct InspectedOscillator {
    QString recordName;
    double periodS = 0.0;
    double dampingRatio = 0.0;
    double timeStepS = 0.0;  // of the record, s
    OscillatorHistory history;
};

// The running maximum of one quantity for the inspected period, from the store: the value
// after record step J (at J * timeStepS) at index J-1.
struct RunningMaximum {
    ResponseQuantity quantity;
    std::vector<double> values;
};

// "Oscillator T = 1.0200 s, ζ = 0.05": the period with four decimals, the damping ratio as
// the window writes numbers the user typed, both with the locale's decimal separator.
QString OscillatorTitle(double periodS, double dampingRatio, char decimalSeparator);

// value with up to digits significant digits and no trailing zeros ("4.213", "0.412",
// "1.5e-05"), with decimalSeparator.
QString SignificantText(double value, int digits, char decimalSeparator);

// "Sd = 4.213 cm at 28.4350 s": the peak's value with four significant digits, its instant
// in the "0.0000" pattern of the time list.
QString PeakText(const char* symbol, const ResponsePeak& peak, const char* unit,
                 char decimalSeparator);

// "PSa for the whole record = 0.3921 g"; nothing without values.
QString WholeRecordText(const RunningMaximum& maximum, char decimalSeparator);

// The running maximum at displacement point i: the value after the record step that point
// ends or lies in (none before the first record step ends, i = 0).
double RunningMaximumAtPoint(const OscillatorHistory& history, const RunningMaximum& maximum,
                             std::size_t i);

// Tab-separated table for a spreadsheet: header lines (record, damping ratio, period,
// running-maximum quantity with its unit), the column titles, then one line per sub-step end
// with the time (s), x (cm) and, on lines that end a record step, the running maximum.
// Numbers with '.' and 17 significant digits.
QString OscillatorDataText(const InspectedOscillator& oscillator, const RunningMaximum& maximum);
