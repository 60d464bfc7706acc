// One ground-acceleration record: its name, sampling interval and samples in g.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "records/RecordFormat.h"

using DOUBLEVECTOR = std::vector<double>;

// A uniformly sampled acceleration record. Sample i stands for time i * timeStep (s),
// so every record starts at 0 s whatever time its file gives the first line.
class TimeHistory {
  public:
    // name: the file name without its folder; timeStep: sampling interval in s (any value,
    // zero and negative included, is kept as given); format: the file format it was read from.
    TimeHistory(std::string name, double timeStep, RecordFormat format = RecordFormat::TwoColumn);

    // Appends one acceleration sample in g (inline: the readers call it once per sample).
    void AddSample(double a) { acc.push_back(a); }
    // Makes room for count samples in all, so that appending them moves nothing.
    void ReserveSamples(std::size_t count);
    // Number of samples.
    int Count() const;
    // (Count - 1) * timeStep in s; -timeStep for a record without samples.
    double Duration() const;
    // Sampling interval in s.
    double GetTimeStep() const;
    // A copy of the record's name.
    std::string GetName() const;
    // The samples in g, without copying.
    const DOUBLEVECTOR& GetAcc() const;
    // The format of the file the record was read from.
    RecordFormat GetFormat() const;

  private:
    DOUBLEVECTOR acc;
    std::string name;
    double timeStep;
    RecordFormat format;
};
