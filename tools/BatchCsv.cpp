// Writing running spectra from the result store as CSV.
#include "tools/BatchCsv.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "records/NumberText.h"

namespace {

// Numbers with every digit a double holds and '.' whatever the locale (FormatExact).
void WriteRow(std::ostream& out, const ResultStore& store, std::size_t row, double time,
              bool withTime) {
    for (std::size_t j = 0; j < store.periodGrid.size(); ++j) {
        if (withTime) {
            out << FormatExact(time) << ',';
        }
        out << FormatExact(store.periodGrid[j]) << ',' << FormatExact(store.frequencyGrid[j]) << ','
            << FormatExact(store.sdHistory[row][j]) << ',' << FormatExact(store.svHistory[row][j])
            << ',' << FormatExact(store.saHistory[row][j]) << ','
            << FormatExact(store.psvHistory[row][j]) << ',' << FormatExact(store.psaHistory[row][j])
            << '\n';
    }
}

}  // namespace

std::size_t NearestInstantRow(double atSeconds, double timeStep, std::size_t rowCount) {
    // Instant k (k = 1 .. rowCount) lies at k * timeStep and is row k - 1.
    double k = std::round(atSeconds / timeStep);
    if (!(k >= 1.0)) {
        return 0;
    }
    if (k >= static_cast<double>(rowCount)) {
        return rowCount - 1;
    }
    return static_cast<std::size_t>(k) - 1;
}

void WriteBatchCsv(std::ostream& out, const ResultStore& store, double timeStep,
                   const std::vector<std::size_t>& rows, bool withTime) {
    if (withTime) {
        out << "time_s,";
    }
    out << "period_s,frequency_hz,sd_cm,sv_cm_s,sa_g,psv_cm_s,psa_g\n";
    for (std::size_t row : rows) {
        WriteRow(out, store, row, static_cast<double>(row + 1) * timeStep, withTime);
    }
}
