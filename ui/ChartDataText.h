// The numbers the main window's charts hand out: the read-out labels and the tab-separated
// texts of "Copy data" and "Copy all quantities". Copied numbers carry 17 significant digits
// with '.', so that a reader gets back exactly the stored doubles.
#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <optional>

#include "engine/AnalysisSettings.h"
#include "engine/ResultStore.h"
#include "records/Timeserie.h"
#include "ui/ResponseQuantity.h"

// The instant a spectrum belongs to: its row in the store and its time (s).
struct SpectrumInstant {
    std::size_t row = 0;
    double timeS = 0.0;
};

// "Copy data" of the record chart: a header (record, time step, samples, the quantity, and with
// a run of this record its damping ratio, period grid and instant), then time (s) and
// acceleration (g) of every sample.
QString RecordDataText(const TimeHistory& record, const std::optional<AnalysisSettings>& run,
                       const std::optional<SpectrumInstant>& instant);

// "Copy data" of the spectrum chart: a header, then one row per period of the grid with period
// (s), frequency (Hz), the whole-record value and the value at the instant of quantity.
QString SpectrumDataText(const ResultStore& store, const AnalysisSettings& run,
                         std::size_t quantity, const SpectrumInstant& instant);

// "Copy all quantities": a header, then one row per period with period, frequency and, for each
// of the five quantities, its whole-record value and its value at the instant.
QString AllQuantitiesText(const ResultStore& store, const AnalysisSettings& run,
                          const SpectrumInstant& instant);

// The read-out label of the record chart for sample time timeS (s), acceleration accG (g).
QString RecordReadoutText(double timeS, double accG);

// The read-out label of the spectrum chart for period j of the grid.
QString SpectrumReadoutText(const ResultStore& store, std::size_t quantity,
                            const SpectrumInstant& instant, std::size_t period);
