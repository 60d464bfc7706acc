// Spectrum plot: the spectrum at the selected instant and of the whole record, from the store.
#include <QComboBox>
#include <array>
#include <optional>
#include <span>

#include "ui/ResponseChart.h"
#include "ui/Unit1.h"

namespace {

// Bottom-axis titles by abscissa choice: period (s), frequency (Hz), spectral displacement (cm).
const std::array<const char*, 3> kAbscissaTitles = {"Period [sec]", "Frequency [HZ]",
                                                    "Displacement [cm]"};

// Left-axis titles by ordinate choice, in the order of the five histories.
const std::array<const char*, 5> kOrdinateTitles = {
    "Response Displacement [cm]", "Response Velocity [cm/sec]", "Response Acceleration [g]",
    "Pseudo-Velocity [cm/sec]", "Pseudo-Acceleration [g]"};

// The values of a grid or of a result row, read in place.
template <class Row>
std::span<const double> Values(const Row& row) {
    return std::span<const double>(row.data(), row.size());
}

// The x and y values of one spectrum, in period-grid order.
struct SpectrumValues {
    std::span<const double> x;
    std::span<const double> y;
};

// The history of the ordinate choice: displacement (cm), velocity (cm/s), acceleration (g),
// pseudo-velocity (cm/s), pseudo-acceleration (g); null for a choice outside the table.
const History* OrdinateHistory(const ResultStore& store, int choice) {
    const std::array<const History*, 5> histories = {
        &store.sdHistory, &store.svHistory, &store.saHistory, &store.psvHistory, &store.psaHistory};
    if (choice < 0 || choice >= static_cast<int>(histories.size())) {
        return nullptr;
    }
    return histories[static_cast<std::size_t>(choice)];
}

// The spectrum at row instantIndex: x from the period grid (s), the frequency grid (Hz) or
// that row's spectral displacements (cm), y from the ordinate's history; nothing when a
// choice or the instant is negative, outside the tables or past the store's rows.
std::optional<SpectrumValues> SpectrumAt(const ResultStore& store, int instantIndex,
                                         int abscissaChoice, int ordinateChoice) {
    if (abscissaChoice < 0 || ordinateChoice < 0 || instantIndex < 0) {
        return std::nullopt;
    }
    // The time list and the store agree after every run; the bound only keeps a caller out
    // of step from reading past the last row.
    if (store.sdHistory.empty() || instantIndex >= static_cast<int>(store.sdHistory.size())) {
        return std::nullopt;
    }
    const History* yHistory = OrdinateHistory(store, ordinateChoice);
    if (yHistory == nullptr || abscissaChoice >= static_cast<int>(kAbscissaTitles.size())) {
        return std::nullopt;
    }
    const auto row = static_cast<std::size_t>(instantIndex);
    const std::span<const double> x = abscissaChoice == 0   ? Values(store.periodGrid)
                                      : abscissaChoice == 1 ? Values(store.frequencyGrid)
                                                            : Values(store.sdHistory[row]);
    return SpectrumValues{x, Values((*yHistory)[row])};
}

// Sets the title of chart's axis in orientation to titles[choice]; a choice outside the table
// leaves the title as it is.
void SetAxisTitle(ResponseChart* chart, Qt::Orientation orientation,
                  std::span<const char* const> titles, int choice) {
    if (choice >= 0 && choice < static_cast<int>(titles.size())) {
        chart->SetAxisTitle(orientation,
                            QString::fromUtf8(titles[static_cast<std::size_t>(choice)]));
    }
}

// The word of the logarithmic-axis toggle of chart's bottom axis for abscissa choice.
void SetAxisWord(ResponseChart* chart, int choice) {
    const std::array<const char*, 3> words = {"period", "frequency", "displacement"};
    if (choice >= 0 && choice < static_cast<int>(words.size())) {
        chart->SetAxisWord(Qt::Horizontal,
                           QString::fromLatin1(words[static_cast<std::size_t>(choice)]));
    }
}

}  // namespace

void TForm1::RefreshSpectrumPlot() {
    const int selected = cbb2->currentIndex();
    if (selected < 0) {
        ClearSeries(lnsrsSeries3);
        ClearSeries(lnsrsSeries4);
        cht2->PaintChanges();
        return;
    }
    const int abscissa = cbb5->currentIndex();
    const int ordinate = cbb7->currentIndex();
    const int last = cbb2->count() - 1;
    // Each call replaces its series' points, which clears the old ones on the way; clearing
    // both first would empty the axes' data for a moment and cost a replot of everything.
    PlotSpectrumAt(last, 0, abscissa, ordinate, QStringLiteral("Time=") + cbb2->itemText(last));
    PlotSpectrumAt(selected, 1, abscissa, ordinate, QStringLiteral("Time=") + cbb2->currentText());
    FollowInspector();
    cht2->PaintChanges();
}

void TForm1::PlotSpectrumAt(int instantIndex, int seriesIndex, int abscissaChoice,
                            int ordinateChoice, const QString& title) {
    QCPCurve* series = seriesIndex == 0 ? lnsrsSeries3 : seriesIndex == 1 ? lnsrsSeries4 : nullptr;
    if (series == nullptr) {
        return;
    }
    const std::optional<SpectrumValues> values =
        SpectrumAt(results, instantIndex, abscissaChoice, ordinateChoice);
    if (!values.has_value()) {
        ClearSeries(series);
        return;
    }
    cht2->ShowSpectrum(series, values->x, values->y);
    cht2->SetTitle(series, title);
}

void TForm1::cbb5Change() {
    SetAxisTitle(cht2, Qt::Horizontal, kAbscissaTitles, cbb5->currentIndex());
    SetAxisWord(cht2, cbb5->currentIndex());
    cht2->ResetZoom();  // a range of periods means nothing on a frequency axis
    RefreshSpectrumPlot();
}

void TForm1::cbb7Change() {
    SetAxisTitle(cht2, Qt::Vertical, kOrdinateTitles, cbb7->currentIndex());
    cht2->ResetZoom();
    RefreshSpectrumPlot();
}
