// What the main window's charts read out and copy: the record chart the highlighted record's
// samples, the spectrum chart the store's spectra at the selected instant and of the whole
// record. Everything goes to the clipboard; nothing is written to disk.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QShortcut>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <span>

#include "ui/CheckListBox.h"
#include "ui/RecordChart.h"
#include "ui/ResponseChart.h"
#include "ui/Unit1.h"

namespace {

// The index k whose point (x[k], y[k]) lies nearest to pos in pixels: by x alone, or with
// byDistance by the distance in both directions (an abscissa that is no grid, such as spectral
// displacement). Nothing when there are no points.
std::optional<std::size_t> NearestPoint(const ChartWidget& chart, std::span<const double> x,
                                        std::span<const double> y, QPointF pos, bool byDistance) {
    std::optional<std::size_t> nearest;
    double best = std::numeric_limits<double>::infinity();
    const std::size_t count = std::min(x.size(), y.size());
    for (std::size_t k = 0; k < count; ++k) {
        const double dx = chart.xAxis->coordToPixel(x[k]) - pos.x();
        const double dy = byDistance ? chart.yAxis->coordToPixel(y[k]) - pos.y() : 0.0;
        const double distance = dx * dx + dy * dy;
        if (distance < best) {
            best = distance;
            nearest = k;
        }
    }
    return nearest;
}

}  // namespace

void TForm1::ConnectChartData() {
    cht1->readoutAt = [this](QPointF pos) { return RecordReadoutAt(pos); };
    cht1->dataText = [this] { return RecordCopyText(); };
    cht2->readoutAt = [this](QPointF pos) { return SpectrumReadoutAt(pos); };
    cht2->dataText = [this] { return SpectrumCopyText(); };
    cht2->addMenuEntries = [this](QMenu& menu, QPointF pos) {
        AddSpectrumMenuEntries(menu, pos);
        AddInspectMenuEntry(menu, pos);
    };
    cht2->SetAxisWord(Qt::Horizontal, QStringLiteral("period"));
    // Line edits take Ctrl+C before a window shortcut; other controls get it passed on.
    auto* copy = new QShortcut(QKeySequence::Copy, this);
    copy->setObjectName(QStringLiteral("copyChartData"));
    connect(copy, &QShortcut::activated, this, &TForm1::CopyChartData);
}

void TForm1::ResetChartZoom() {
    cht1->ResetZoom();
    cht2->ResetZoom();
}

void TForm1::CopyChartData() {
    const std::array<ChartWidget*, 2> charts = {cht1, cht2};
    for (ChartWidget* chart : charts) {
        if (chart->hasFocus()) {
            chart->CopyData();
            return;
        }
    }
    for (ChartWidget* chart : charts) {
        if (chart->underMouse()) {
            chart->CopyData();
            return;
        }
    }
    // Neither: the key belongs to the focused control (a list copies its current item).
    auto* shortcut = findChild<QShortcut*>(QStringLiteral("copyChartData"));
    QWidget* focused = QApplication::focusWidget();
    if (shortcut != nullptr && focused != nullptr) {
        shortcut->setEnabled(false);  // the key must reach the control, not come back here
        QKeyEvent press(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
        QApplication::sendEvent(focused, &press);
        shortcut->setEnabled(true);
    }
}

std::optional<SpectrumInstant> TForm1::ShownInstant() const {
    const int selected = cbb2->currentIndex();
    if (selected < 0 || results.currentRecord == nullptr ||
        static_cast<std::size_t>(selected) >= results.sdHistory.size()) {
        return std::nullopt;
    }
    // Instant j is the end of sample j + 1.
    return SpectrumInstant{static_cast<std::size_t>(selected),
                           (selected + 1) * results.currentRecord->GetTimeStep()};
}

std::optional<ChartReadout> TForm1::RecordReadoutAt(QPointF pixelPos) const {
    const int row = HighlightedRow(lst1);
    if (row < 0 || static_cast<std::size_t>(row) >= records.size()) {
        return std::nullopt;
    }
    const TimeHistory& record = *records[static_cast<std::size_t>(row)];
    const DOUBLEVECTOR& accG = record.GetAcc();
    const double step = record.GetTimeStep();
    if (accG.empty() || !(step > 0.0) || !std::isfinite(step)) {
        return std::nullopt;
    }
    // The sample nearest the pointer's time: samples lie at whole time steps.
    const double time = cht1->xAxis->pixelToCoord(pixelPos.x());
    const double last = static_cast<double>(accG.size() - 1);
    const auto i = static_cast<std::size_t>(std::clamp(std::round(time / step), 0.0, last));
    const double sampleTime = static_cast<double>(i) * step;
    return ChartReadout{QPointF(sampleTime, accG[i]), RecordReadoutText(sampleTime, accG[i])};
}

std::optional<ChartReadout> TForm1::SpectrumReadoutAt(QPointF pixelPos) const {
    const std::optional<SpectrumInstant> instant = ShownInstant();
    const int quantity = cbb7->currentIndex();
    const int abscissa = cbb5->currentIndex();
    if (!instant || quantity < 0 || quantity >= static_cast<int>(kResponseQuantities.size()) ||
        abscissa < 0 || abscissa > 2) {
        return std::nullopt;
    }
    const auto q = static_cast<std::size_t>(quantity);
    const std::span<const double> y = QuantityHistory(results, q)[instant->row];
    const std::span<const double> x = abscissa == 0 ? std::span<const double>(results.periodGrid)
                                      : abscissa == 1
                                          ? std::span<const double>(results.frequencyGrid)
                                          : results.sdHistory[instant->row];
    const std::optional<std::size_t> k = NearestPoint(*cht2, x, y, pixelPos, abscissa == 2);
    if (!k || *k >= results.periodGrid.size()) {
        return std::nullopt;
    }
    return ChartReadout{QPointF(x[*k], y[*k]), SpectrumReadoutText(results, q, *instant, *k)};
}

QString TForm1::RecordCopyText() const {
    const int row = HighlightedRow(lst1);
    if (row < 0 || static_cast<std::size_t>(row) >= records.size()) {
        return QString();
    }
    const TimeHistory& record = *records[static_cast<std::size_t>(row)];
    // The run's parameters and instant belong to this record only when it was analysed.
    const bool analysed = results.currentRecord == &record && !results.sdHistory.empty();
    return RecordDataText(record,
                          analysed ? std::optional<AnalysisSettings>(lastRun) : std::nullopt,
                          analysed ? ShownInstant() : std::nullopt);
}

QString TForm1::SpectrumCopyText() const {
    const std::optional<SpectrumInstant> instant = ShownInstant();
    const int quantity = cbb7->currentIndex();
    if (!instant || quantity < 0 || quantity >= static_cast<int>(kResponseQuantities.size())) {
        return QString();
    }
    return SpectrumDataText(results, lastRun, static_cast<std::size_t>(quantity), *instant);
}

QString TForm1::AllQuantitiesCopyText() const {
    const std::optional<SpectrumInstant> instant = ShownInstant();
    return instant ? AllQuantitiesText(results, lastRun, *instant) : QString();
}

void TForm1::AddSpectrumMenuEntries(QMenu& menu, QPointF /*pixelPos*/) {
    QAction* all = menu.addAction(tr("Copy all quantities"), this, &TForm1::CopyAllQuantities);
    all->setEnabled(ShownInstant().has_value());
}

void TForm1::CopyAllQuantities() {
    const QString text = AllQuantitiesCopyText();
    if (!text.isEmpty()) {
        QGuiApplication::clipboard()->setText(text);
    }
}
