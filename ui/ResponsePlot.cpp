// Spectrum plot: the spectrum at the selected instant and of the whole record, from the store.
#include <QAbstractAxis>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLineSeries>
#include <QList>
#include <QPointF>
#include <algorithm>
#include <array>
#include <optional>
#include <span>

#include "ui/ChartHelpers.h"
#include "ui/Unit1.h"

namespace {

// Bottom-axis titles by abscissa choice: period (s), frequency (Hz), spectral displacement (cm).
const std::array<const char*, 3> kAbscissaTitles = {"Period [sec]", "Frequency [HZ]",
                                                    "Displacement [cm]"};

// Left-axis titles by ordinate choice, in the order of the five histories.
const std::array<const char*, 5> kOrdinateTitles = {
    "Response Displacement [cm]", "Response Velocity [cm/sec]", "Response Acceleration [g]",
    "Pseudo-Velocity [cm/sec]", "Pseudo-Acceleration [g]"};

// The x values of the spectrum at row instantIndex: the period grid (s), the frequency grid
// (Hz) or that row's spectral displacements (cm); nothing for a choice outside the table.
std::optional<std::span<const double>> AbscissaValues(const ResultStore& store, int choice,
                                                      int instantIndex) {
    switch (choice) {
        case 0:
            return store.periodGrid;
        case 1:
            return store.frequencyGrid;
        case 2:
            return store.sdHistory[static_cast<std::size_t>(instantIndex)];
        default:
            return std::nullopt;
    }
}

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

// Sets the title of the chart's first axis in the given orientation to titles[choice]; a
// choice outside the table leaves the title as it is.
void SetAxisTitle(QChartView* view, Qt::Orientation orientation,
                  std::span<const char* const> titles, int choice) {
    const QList<QAbstractAxis*> axes = view->chart()->axes(orientation);
    if (axes.isEmpty() || choice < 0 || choice >= static_cast<int>(titles.size())) {
        return;
    }
    axes.first()->setTitleText(QString::fromUtf8(titles[static_cast<std::size_t>(choice)]));
}

// The points (x[k], y[k]) of the spectrum at row instantIndex in period-grid order, or
// nothing when a choice or the instant is negative, outside the tables or the store.
std::optional<QList<QPointF>> SpectrumPoints(const ResultStore& store, int instantIndex,
                                             int abscissaChoice, int ordinateChoice) {
    if (abscissaChoice < 0 || ordinateChoice < 0 || instantIndex < 0) {
        return std::nullopt;
    }
    // The time list and the store agree after every run; the bound only keeps a caller out
    // of step from reading past the last row.
    if (store.sdHistory.empty() || instantIndex >= static_cast<int>(store.sdHistory.size())) {
        return std::nullopt;
    }
    const std::optional<std::span<const double>> x =
        AbscissaValues(store, abscissaChoice, instantIndex);
    const History* yHistory = OrdinateHistory(store, ordinateChoice);
    if (!x.has_value() || yHistory == nullptr) {
        return std::nullopt;
    }
    const HistoryRow y = (*yHistory)[static_cast<std::size_t>(instantIndex)];
    const std::size_t count = std::min(x->size(), y.size());
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(count));
    for (std::size_t k = 0; k < count; ++k) {
        points.append(QPointF((*x)[k], y[k]));
    }
    return points;
}

}  // namespace

void TForm1::RefreshSpectrumPlot() {
    const int selected = cbb2->currentIndex();
    if (selected < 0) {
        ClearSeries(lnsrsSeries3);
        ClearSeries(lnsrsSeries4);
        return;
    }
    const int abscissa = cbb5->currentIndex();
    const int ordinate = cbb7->currentIndex();
    const int last = cbb2->count() - 1;
    // Each call replaces its series' points, which clears the old ones on the way; clearing
    // both first would rescale the axes to the old instant and back, a relayout per redraw.
    PlotSpectrumAt(last, 0, abscissa, ordinate, QStringLiteral("Time=") + cbb2->itemText(last));
    PlotSpectrumAt(selected, 1, abscissa, ordinate, QStringLiteral("Time=") + cbb2->currentText());
}

void TForm1::PlotSpectrumAt(int instantIndex, int seriesIndex, int abscissaChoice,
                            int ordinateChoice, const QString& title) {
    QLineSeries* series = seriesIndex == 0   ? lnsrsSeries3
                          : seriesIndex == 1 ? lnsrsSeries4
                                             : nullptr;
    if (series == nullptr) {
        return;
    }
    const std::optional<QList<QPointF>> points =
        SpectrumPoints(results, instantIndex, abscissaChoice, ordinateChoice);
    SetSeriesPoints(series, points.value_or(QList<QPointF>()));
    if (points.has_value()) {
        series->setName(title);
    }
}

void TForm1::cbb5Change() {
    SetAxisTitle(cht2, Qt::Horizontal, kAbscissaTitles, cbb5->currentIndex());
    RefreshSpectrumPlot();
}

void TForm1::cbb7Change() {
    SetAxisTitle(cht2, Qt::Vertical, kOrdinateTitles, cbb7->currentIndex());
    RefreshSpectrumPlot();
}
