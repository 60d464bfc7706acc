// The shared machinery of both charts: layers, look, legend toggling, pens in device pixels and
// the one synchronous paint per change (ranges in ChartZoom.cpp, the pointer in ChartMouse.cpp,
// the context menu and copies in ChartMenu.cpp).
#include "ui/ChartWidget.h"

#include <QEvent>
#include <algorithm>
#include <memory>
#include <utility>

#include "ui/ChartDecorations.h"
#include "ui/ChartReadoutOverlay.h"

namespace {

// Opacity of a hidden series' legend entry (marker and title).
constexpr double kHiddenAlpha = 0.3;
// Room between the rounded background and the axes' titles.
constexpr int kContentMarginPx = 4;
// Legend: the space between entries and the distance of the legend from the plot area's
// top-right corner.
constexpr int kEntrySpacingPx = 7;
constexpr int kLegendInsetPx = 12;
constexpr int kTickLengthPx = 5;

QColor WithAlpha(QColor colour, double alpha) {
    colour.setAlphaF(alpha);
    return colour;
}

// A pen widthPx logical pixels wide on a screen with ratio device pixels per logical pixel.
// QCustomPlot draws a pen of exactly 1.0 as a one-device-pixel cosmetic line (much faster than
// a 1 px geometric pen); a cosmetic pen of widthPx * ratio keeps that speed and still scales on
// high-density screens, where a plain 1.0 would stay one device pixel thin.
QPen DevicePen(const QColor& colour, double widthPx, double ratio) {
    QPen pen(colour);
    pen.setWidthF(widthPx * ratio);
    pen.setCosmetic(true);
    return pen;
}

}  // namespace

ChartWidget::ChartWidget(QWidget* parent, const ChartLook& look, bool leftFromZero)
    : QCustomPlot(parent),
      look(look),
      leftFromZero(leftFromZero),
      readout(std::make_unique<ChartReadoutOverlay>(look.tickLabelFont)) {
    clickDelay = new QTimer(this);
    clickDelay->setSingleShot(true);
    connect(clickDelay, &QTimer::timeout, this, [this] { emit plotClicked(clickedAt); });
    connect(this, &QCustomPlot::afterReplot, this, [this] { LiveLayerUpToDate(); });
    // Every paint fills the widget with the window colour first; the chart's own background
    // is the rounded frame inside that margin.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setBackground(palette().window());
    setPlottingHint(QCP::phFastPolylines, true);
    setPlottingHint(QCP::phImmediateRefresh, false);
    setAutoAddPlottableToLegend(false);
    setLocale(QLocale::c());  // axis labels with '.' in every locale, as they always were
    SetUpLayers();
    new ChartFrame(this, look.chartBrush);
    axisRect()->setBackground(look.plotAreaBrush);
    plotLayout()->setMargins(
        QMargins(kChartFrameInsetPx + kContentMarginPx, kChartFrameInsetPx + kContentMarginPx,
                 kChartFrameInsetPx + kContentMarginPx, kChartFrameInsetPx + kContentMarginPx));
    SetUpAxis(xAxis, bottomAxis);
    SetUpAxis(yAxis, leftAxis);
    // Title, labels and ticks packed as the designed charts have them.
    xAxis->setPadding(1);
    xAxis->setLabelPadding(3);
    yAxis->setPadding(2);
    yAxis->setLabelPadding(6);
    yAxis->setTickLabelPadding(0);
    SetUpLegend();
    ApplyRanges();
    setMouseTracking(true);          // the read-out follows the pointer
    setFocusPolicy(Qt::ClickFocus);  // a clicked chart takes Ctrl+C
}

ChartWidget::~ChartWidget() = default;

void ChartWidget::SetUpLayers() {
    // Bottom to top: frame and plot-area background, grid, [legend], axes, series, the live
    // series, [legend]. The unbuffered layers below a buffered one share one paint buffer.
    removeLayer(layer(QStringLiteral("overlay")));
    QCPLayer* legend = layer(QStringLiteral("legend"));
    moveLayer(layer(QStringLiteral("axes")), layer(QStringLiteral("grid")), limAbove);
    if (look.legendBehindSeries) {
        moveLayer(legend, layer(QStringLiteral("grid")), limAbove);
    }
    addLayer(QStringLiteral("live"), layer(QStringLiteral("main")), limAbove);
    liveLayer = layer(QStringLiteral("live"));
    legendLayer = legend;
    liveLayer->setMode(QCPLayer::lmBuffered);
    legendLayer->setMode(QCPLayer::lmBuffered);
}

void ChartWidget::SetUpAxis(QCPAxis* axis, AxisState& state) {
    auto ticker = QSharedPointer<QCPAxisTickerFixed>::create();
    ticker->setScaleStrategy(QCPAxisTickerFixed::ssNone);
    state.linearTicker = ticker;
    auto logTicker = QSharedPointer<QCPAxisTickerLog>::create();
    logTicker->setLogBase(10.0);
    logTicker->setSubTickCount(8);  // 2 .. 9 times each power of ten
    state.logTicker = logTicker;
    axis->setTicker(ticker);
    axis->setSubTicks(false);
    axis->setTickLength(0, kTickLengthPx);
    axis->setNumberFormat(QStringLiteral("f"));
    axis->setBasePen(QPen(look.axisLineColour, 1));
    axis->setTickPen(QPen(look.gridColour, 1));
    axis->setTickLabelFont(look.tickLabelFont);
    axis->setTickLabelColor(look.textColour);
    axis->setLabelFont(look.axisTitleFont);
    axis->setLabelColor(look.textColour);
    axis->grid()->setPen(QPen(look.gridColour, 1));
    axis->grid()->setZeroLinePen(Qt::NoPen);
    axis->grid()->setSubGridVisible(false);
}

void ChartWidget::SetUpLegend() {
    legend->setVisible(true);
    legend->setBrush(Qt::NoBrush);
    legend->setBorderPen(Qt::NoPen);
    legend->setFont(look.legendFont);
    legend->setIconSize(kLegendMarkerPx, kLegendMarkerPx);
    legend->setRowSpacing(kEntrySpacingPx);
    legend->setSelectableParts(QCPLegend::spNone);
    axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignRight | Qt::AlignTop);
    axisRect()->insetLayout()->setMargins(
        QMargins(kLegendInsetPx, kLegendInsetPx, kLegendInsetPx, kLegendInsetPx));
}

QCPGraph* ChartWidget::AddGraph(const QColor& colour, double widthPx, bool live) {
    QCPGraph* graph = addGraph(xAxis, yAxis);
    Register(graph, colour, widthPx, live);
    return graph;
}

QCPCurve* ChartWidget::AddCurve(const QColor& colour, double widthPx, bool live) {
    auto* curve = new QCPCurve(xAxis, yAxis);
    Register(curve, colour, widthPx, live);
    return curve;
}

void ChartWidget::Register(QCPAbstractPlottable* plottable, const QColor& colour, double widthPx,
                           bool live) {
    plottable->setLayer(live ? liveLayer : layer(QStringLiteral("main")));
    plottable->setPen(DevicePen(colour, widthPx, bufferDevicePixelRatio()));
    plottable->setBrush(Qt::NoBrush);
    plottable->setName(QStringLiteral("Time="));
    auto* entry = new LegendEntryItem(legend, plottable);
    entry->setTextColor(colour);
    entry->setFont(look.legendFont);
    legend->addItem(entry);
    series.push_back(Series{plottable, colour, widthPx, DataBounds{}});
}

ChartWidget::Series* ChartWidget::Find(const QCPAbstractPlottable* plottable) {
    const auto found = std::find_if(series.begin(), series.end(), [plottable](const Series& s) {
        return s.plottable == plottable;
    });
    return found == series.end() ? nullptr : &*found;
}

const ChartWidget::Series* ChartWidget::Find(const QCPAbstractPlottable* plottable) const {
    return const_cast<ChartWidget*>(this)->Find(plottable);
}

QCPPlottableLegendItem* ChartWidget::LegendEntry(const QCPAbstractPlottable* plottable) const {
    return legend->itemWithPlottable(plottable);
}

double ChartWidget::LineWidthPx(const QCPAbstractPlottable* plottable) const {
    const Series* found = Find(plottable);
    return found != nullptr ? found->widthPx : 0.0;
}

void ChartWidget::MarkLayerOf(const QCPAbstractPlottable* plottable) {
    if (plottable->layer() == liveLayer) {
        pending.live = true;
    } else {
        pending.full = true;
    }
}

void ChartWidget::SeriesDrawn(QCPAbstractPlottable* plottable, const DataBounds& bounds,
                              bool changed, LiveChange liveChange) {
    Series* found = Find(plottable);
    if (found == nullptr) {
        return;
    }
    found->bounds = bounds;
    // The live layer is brought up to date on every draw (each draw paints once); the other
    // series' layers only when their points changed.
    if (plottable->layer() == liveLayer && liveChange == LiveChange::GrewAtEnd && !pending.live) {
        pending.liveTail = true;
    } else if (changed || plottable->layer() == liveLayer) {
        MarkLayerOf(plottable);
    }
    Rescale();
    PaintLater();
    if (plottable->interface1D() != nullptr && plottable->interface1D()->dataCount() > 0) {
        emit seriesDrawn(plottable);
    }
}

void ChartWidget::Clear(QCPAbstractPlottable* plottable) {
    Series* found = Find(plottable);
    QCPPlottableInterface1D* data = plottable->interface1D();
    if (found == nullptr || data == nullptr || data->dataCount() == 0) {
        return;
    }
    if (auto* graph = qobject_cast<QCPGraph*>(plottable)) {
        graph->data()->clear();
    } else if (auto* curve = qobject_cast<QCPCurve*>(plottable)) {
        curve->data()->clear();
    }
    found->bounds = DataBounds{};
    MarkLayerOf(plottable);
    Rescale();
    PaintLater();
}

void ChartWidget::SetTitle(QCPAbstractPlottable* plottable, const QString& title) {
    if (plottable->name() == title) {
        return;
    }
    plottable->setName(title);
    pending.legend = true;
    pending.legendLayout = true;  // a longer or shorter title resizes the legend
    PaintLater();
}

void ChartWidget::SetAxisTitle(Qt::Orientation orientation, const QString& title) {
    QCPAxis* axis = orientation == Qt::Horizontal ? xAxis : yAxis;
    if (axis->label() == title) {
        return;
    }
    axis->setLabel(title);
    pending.full = true;
    PaintLater();
}

void ChartWidget::ToggleSeries(QCPAbstractPlottable* plottable) {
    const Series* found = Find(plottable);
    if (found == nullptr) {
        return;
    }
    plottable->setVisible(!plottable->visible());
    if (QCPPlottableLegendItem* entry = LegendEntry(plottable)) {
        entry->setTextColor(WithAlpha(found->colour, plottable->visible() ? 1.0 : kHiddenAlpha));
    }
    Rescale();
    pending.full = true;
    PaintChanges();
}

void ChartWidget::ApplyScreenRatio() {
    const double ratio = devicePixelRatioF();
    if (ratio == bufferDevicePixelRatio()) {
        return;
    }
    setBufferDevicePixelRatio(ratio);
    for (const Series& s : series) {
        s.plottable->setPen(DevicePen(s.colour, s.widthPx, ratio));
    }
    pending.full = true;
}

void ChartWidget::PaintLater() {
    if (paintQueued) {
        return;
    }
    paintQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            paintQueued = false;
            PaintChanges();
        },
        Qt::QueuedConnection);
}

void ChartWidget::PaintChanges() {
    if (!isVisible()) {
        return;  // showEvent brings the buffers up to date
    }
    const Pending todo = std::exchange(pending, Pending{});
    const bool full = todo.full || hasInvalidatedPaintBuffers();
    if (!full && !todo.live && !todo.liveTail && !todo.legend) {
        return;
    }
    if (readout->Shown()) {
        // The owner's answer for a still pointer follows the data (playback moves the instant).
        RefreshReadout(readout->Pointer());  // the repaint below shows it
    }
    if (full) {
        replot(rpImmediateRefresh);
        return;
    }
    if (todo.legendLayout) {
        // Only the legend's place and its entries' places depend on the titles.
        axisRect()->insetLayout()->update(QCPLayoutElement::upLayout);
    }
    // Each layer redraws its own buffer and asks for an update; the repaint below serves
    // them all in one paint and leaves nothing for the queued update.
    if (todo.live || (todo.liveTail && !DrawOnLiveBuffer())) {
        liveLayer->replot();
    }
    if (todo.live || todo.liveTail) {
        LiveLayerUpToDate();
    }
    if (todo.legend) {
        legendLayer->replot();
    }
    repaint();
}

void ChartWidget::ItemsChanged(const QCPLayer* changed) {
    if (changed == liveLayer) {
        pending.live = true;
    } else {
        pending.full = true;
    }
    PaintLater();
}

void ChartWidget::ApplyAxisRange(QCPAxis* axis, const NiceRange& range) {
    axis->setRange(range.min, range.max);
    ApplyTicks(axis, extraAxis, range);
}

bool ChartWidget::DrawLiveTail(QCPPainter* /*painter*/) {
    return false;
}

QCPAbstractPaintBuffer* ChartWidget::PaintBufferOf(const QCPLayer* target) const {
    // The buffers in the order QCustomPlot 2.1 hands them out (setupPaintBuffers): the first
    // for the logical layers at the bottom, one for each buffered layer and one more for the
    // logical layers above it. When the count does not come out as the plot's own, the order
    // is not known and nothing is drawn into a buffer directly.
    int bufferIndex = 0;
    int targetIndex = -1;
    for (int i = 0; i < layerCount(); ++i) {
        const QCPLayer* current = layer(i);
        if (current->mode() == QCPLayer::lmBuffered) {
            ++bufferIndex;
        }
        if (current == target) {
            targetIndex = bufferIndex;
        }
        if (current->mode() == QCPLayer::lmBuffered && i + 1 < layerCount() &&
            layer(i + 1)->mode() == QCPLayer::lmLogical) {
            ++bufferIndex;
        }
    }
    if (targetIndex < 0 || bufferIndex + 1 != mPaintBuffers.size()) {
        return nullptr;
    }
    return mPaintBuffers.at(targetIndex).data();
}

bool ChartWidget::DrawOnLiveBuffer() {
    QCPAbstractPaintBuffer* buffer = PaintBufferOf(liveLayer);
    if (buffer == nullptr || buffer->invalidated()) {
        return false;
    }
    const std::unique_ptr<QCPPainter> painter(buffer->startPainting());
    if (painter == nullptr || !painter->isActive()) {
        return false;
    }
    const bool drawn = DrawLiveTail(painter.get());
    painter->end();
    buffer->donePainting();
    return drawn;
}

void ChartWidget::showEvent(QShowEvent* event) {
    QCustomPlot::showEvent(event);
    ApplyScreenRatio();
    pending = Pending{};
    replot(rpQueuedRefresh);
}

void ChartWidget::resizeEvent(QResizeEvent* event) {
    QCustomPlot::resizeEvent(event);  // a full replot at the new size, painted soon
    pending = Pending{};
}

bool ChartWidget::event(QEvent* event) {
    if (event->type() == QEvent::ScreenChangeInternal) {
        ApplyScreenRatio();
        PaintLater();
    } else if (event->type() == QEvent::PaletteChange) {
        setBackground(palette().window());
        pending.full = true;
        PaintLater();
    }
    return QCustomPlot::event(event);
}

QCPPlottableLegendItem* ChartWidget::LegendEntryAt(const QPointF& pos) const {
    for (int i = 0; i < legend->itemCount(); ++i) {
        auto* entry = qobject_cast<QCPPlottableLegendItem*>(legend->item(i));
        if (entry != nullptr && entry->outerRect().contains(pos.toPoint())) {
            return entry;
        }
    }
    return nullptr;
}

void ChartWidget::SetAxisWord(Qt::Orientation orientation, const QString& word) {
    (orientation == Qt::Horizontal ? bottomWord : leftWord) = word;
}

QString ChartWidget::AxisWord(Qt::Orientation orientation) const {
    return orientation == Qt::Horizontal ? bottomWord : leftWord;
}

void ClearSeries(QCPAbstractPlottable* series) {
    if (auto* chart = qobject_cast<ChartWidget*>(series->parentPlot())) {
        chart->Clear(series);
    }
}
