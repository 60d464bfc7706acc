// The oscillator inspector from the main window: choosing a period on the spectrum chart,
// opening, following the instant and the ordinate, and closing with the results.
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/OscillatorHistory.h"
#include "engine/StoreText.h"
#include "records/Errors.h"
#include "records/NumberText.h"
#include "ui/ErrorDisplay.h"
#include "ui/OscillatorWindow.h"
#include "ui/ResponseChart.h"
#include "ui/ResponseQuantity.h"
#include "ui/ScreenFit.h"
#include "ui/Unit1.h"

namespace {

// The index of the point of series nearest to pixelPos, with its distance in pixels: along
// the bottom axis alone, or in the plane.
struct NearestPoint {
    std::size_t index = 0;
    double distancePx = std::numeric_limits<double>::infinity();
};

void FindNearest(const QCPCurve* series, QPointF pixelPos, bool alongBottomOnly,
                 NearestPoint& nearest) {
    const QCPAxis* keyAxis = series->keyAxis();
    const QCPAxis* valueAxis = series->valueAxis();
    std::size_t k = 0;
    for (auto it = series->data()->constBegin(); it != series->data()->constEnd(); ++it, ++k) {
        const double dx = keyAxis->coordToPixel(it->key) - pixelPos.x();
        const double dy = alongBottomOnly ? 0.0 : valueAxis->coordToPixel(it->value) - pixelPos.y();
        const double distance = std::hypot(dx, dy);
        if (distance < nearest.distancePx) {
            nearest = NearestPoint{k, distance};
        }
    }
}

// Memory one displacement point takes while the oscillator window shows it: the history's
// value, the chart's (time, value) pair and room for the copied text's line.
constexpr std::size_t kBytesPerOscillatorPoint = 40;

// Refuses an oscillator whose displacement history would not fit the memory the analysis may
// use: a long record with a short period has tens of sub-steps per sample.
void CheckOscillatorMemory(const TimeHistory& record, double periodS, std::size_t limitBytes) {
    const std::size_t points = OscillatorPointCount(record.Count(), record.GetTimeStep(), periodS,
                                                    ResultStore::kStepRatio);
    const std::size_t bytes =
        points > SIZE_MAX / kBytesPerOscillatorPoint ? SIZE_MAX : points * kBytesPerOscillatorPoint;
    if (bytes > limitBytes) {
        throw ParameterError("The oscillator of period " + FormatGeneral(periodS) +
                             " s over record '" + record.GetName() + "' needs " +
                             ByteSizeText(bytes) + " of memory, more than the limit of " +
                             ByteSizeText(limitBytes));
    }
}

}  // namespace

std::optional<std::size_t> TForm1::NearestGridPeriod(QPointF pixelPos) const {
    if (results.sdHistory.empty() || results.currentRecord == nullptr) {
        return std::nullopt;
    }
    // Period and frequency: the period under the pointer. Displacement: the curves may turn
    // back along the axis, so the nearest drawn point of either spectrum.
    const bool alongBottomOnly = cbb5->currentIndex() != 2;
    NearestPoint nearest;
    for (const QCPCurve* series : {lnsrsSeries3, lnsrsSeries4}) {
        if (series->visible()) {
            FindNearest(series, pixelPos, alongBottomOnly, nearest);
        }
    }
    if (!std::isfinite(nearest.distancePx) || nearest.index >= results.periodGrid.size()) {
        return std::nullopt;
    }
    return nearest.index;
}

void TForm1::AddInspectMenuEntry(QMenu& menu, QPointF pixelPos) {
    const std::optional<std::size_t> period = NearestGridPeriod(pixelPos);
    QAction* entry = menu.addAction(QStringLiteral("Inspect period…"));
    entry->setObjectName(QStringLiteral("actInspectPeriod"));
    entry->setEnabled(period.has_value());
    if (period.has_value()) {
        const std::size_t k = *period;
        connect(entry, &QAction::triggered, this,
                [this, k] { ShowingErrors([this, k] { InspectPeriod(k); }); });
    }
}

void TForm1::cht2PlotClicked(QPointF pixelPos) {
    if (!cht2->axisRect()->rect().contains(pixelPos.toPoint())) {
        return;
    }
    if (const std::optional<std::size_t> period = NearestGridPeriod(pixelPos)) {
        InspectPeriod(*period);
    }
}

void TForm1::InspectPeriod(std::size_t periodIndex) {
    const TimeHistory* record = results.currentRecord;
    if (record == nullptr || results.sdHistory.empty() ||
        periodIndex >= results.periodGrid.size()) {
        return;
    }
    CheckOscillatorMemory(*record, results.periodGrid[periodIndex], results.storeLimitBytes);
    InspectedOscillator oscillator;
    oscillator.recordName = QString::fromStdString(record->GetName());
    oscillator.periodS = results.periodGrid[periodIndex];
    oscillator.dampingRatio = lastRun.dampingRatio;
    oscillator.timeStepS = record->GetTimeStep();
    oscillator.history = ComputeOscillatorHistory(*record, gravity, ResultStore::kStepRatio,
                                                  lastRun.dampingRatio, oscillator.periodS);
    const bool opening = inspector.isNull();
    if (opening) {
        inspector = new OscillatorWindow(this);
        connect(inspector, &OscillatorWindow::closing, this, &TForm1::InspectorClosing);
    }
    inspector->ShowOscillator(std::move(oscillator), decimalSeparator());
    inspectedPeriod = periodIndex;
    inspectedQuantity = -1;  // the new period's column
    FollowInspector();
    cht2->PaintChanges();
    if (opening) {
        PlaceBeside(*inspector, *this);
        inspector->show();
    } else {
        inspector->raise();
    }
}

void TForm1::FollowInspector() {
    if (inspector.isNull() || !inspectedPeriod.has_value()) {
        return;
    }
    cht2->MarkPoint(inspectedPeriod);
    const int ordinate = cbb7->currentIndex();
    const std::optional<ResponseQuantity> quantity = QuantityOfChoice(ordinate);
    if (ordinate != inspectedQuantity && quantity.has_value()) {
        inspectedQuantity = ordinate;
        inspector->ShowRunningMaximum(RunningMaximum{
            *quantity, PeriodColumn(results.*(quantity->history), *inspectedPeriod)});
    }
    // Row r of the store is the instant (r + 1) * timeStep.
    const int instant = cbb2->currentIndex();
    if (instant >= 0 && results.currentRecord != nullptr) {
        inspector->ShowInstant((instant + 1) * results.currentRecord->GetTimeStep());
    }
}

void TForm1::CloseInspector() {
    if (!inspector.isNull()) {
        inspector->close();
        delete inspector.data();  // its history goes now, not at the next event
    }
}

void TForm1::InspectorClosing() {
    inspectedPeriod.reset();
    inspectedQuantity = -1;
    cht2->MarkPoint(std::nullopt);
    cht2->PaintChanges();
}

OscillatorWindow* TForm1::Inspector() const {
    return inspector.data();
}
