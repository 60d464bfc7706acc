// The inspector's chart on the shared chart machinery: white like the record chart, x in
// the record's blue, the running maximum in orange, the instant in red on the live layer.
#include "ui/OscillatorChart.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

#include "plot/NiceRange.h"
#include "ui/ChartMarks.h"
#include "ui/RecordChart.h"

namespace {

const QColor kMotionColour(0, 90, 200);
const QColor kMaximumColour(230, 120, 0);
const QColor kPeakColour(0, 120, 60);
constexpr double kPeakRingPx = 10;
constexpr double kInstantDotPx = 7;

// The half width (px) of the box around the instant's dot or its line that covers every
// pixel they touch (the dot's radius, its pen and the antialiasing fringe).
constexpr int kInstantHalfBoxPx = 7;
// Positions to the raster engine's 1/64 pixel: two equal ones draw the same pixels.
constexpr double kSubPixels = 64.0;

qint64 ToSubPixels(double px) {
    return static_cast<qint64>(std::llround(px * kSubPixels));
}

// An item of the instant that can also be drawn outside a replot of its layer, exactly as
// its layer draws each of its children.
template <class Item>
class InstantItem : public Item {
  public:
    using Item::Item;

    void DrawAsLayerDoes(QCPPainter* painter) {
        if (!this->realVisibility()) {
            return;
        }
        painter->save();
        painter->setClipRect(this->clipRect().translated(0, -1), Qt::IntersectClip);
        this->applyDefaultAntialiasingHint(painter);
        this->draw(painter);
        painter->restore();
    }
};
using InstantLineItem = InstantItem<QCPItemStraightLine>;
using InstantDotItem = InstantItem<QCPItemTracer>;

template <class Tracer = QCPItemTracer>
Tracer* NewTracer(QCustomPlot* chart, QCPLayer* layer, QCPItemTracer::TracerStyle style,
                  double sizePx, const QColor& colour, bool filled) {
    auto* tracer = new Tracer(chart);
    SetUpMark(tracer, layer, style, sizePx, colour, filled);
    return tracer;
}

// A word above (or below) a peak ring, following it: two peaks at one instant keep their
// words apart.
QCPItemText* PeakLabel(QCustomPlot* chart, QCPItemTracer* ring, const QString& text,
                       const QFont& font, bool below) {
    auto* label = new QCPItemText(chart);
    label->setLayer(ring->layer());
    label->position->setType(QCPItemPosition::ptAbsolute);
    label->position->setParentAnchor(ring->position);
    const double offsetPx = kPeakRingPx / 2 + 2;
    label->position->setCoords(0, below ? offsetPx : -offsetPx);
    label->setPositionAlignment(Qt::AlignHCenter | (below ? Qt::AlignTop : Qt::AlignBottom));
    label->setText(text);
    label->setFont(font);
    label->setColor(kPeakColour);
    label->setSelectable(false);
    label->setClipToAxisRect(true);
    label->setVisible(false);
    return label;
}

QVector<QCPGraphData> MotionPoints(const OscillatorHistory& history) {
    QVector<QCPGraphData> points;
    points.reserve(static_cast<qsizetype>(history.displacementCm.size()));
    for (std::size_t i = 0; i < history.displacementCm.size(); ++i) {
        points.append(QCPGraphData(history.PointTime(i), history.displacementCm[i]));
    }
    return points;
}

}  // namespace

OscillatorChart::OscillatorChart(QWidget* parent)
    : ChartWidget(parent, RecordChartLook(), false),
      motion(AddGraph(kMotionColour, 1, false)),
      runningMax(AddGraph(kMaximumColour, 2, false)) {
    xAxis->setLabel(QStringLiteral("Time (s)"));
    yAxis->setLabel(QStringLiteral("x (cm)"));
    SetTitle(motion, QStringLiteral("x (cm)"));
    SetAxisWord(Qt::Horizontal, QStringLiteral("time"));
    SetUpRightAxis();
    // The running maximum keeps to the top and x dies down towards the end: the bottom-right
    // corner is where the legend hides the least.
    axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignRight | Qt::AlignBottom);
    instantLine = new InstantLineItem(this);
    instantLine->setLayer(LiveLayer());
    instantLine->setPen(QPen(Qt::red, 1));
    instantLine->setSelectable(false);
    instantDot = NewTracer<InstantDotItem>(this, LiveLayer(), QCPItemTracer::tsCircle,
                                           kInstantDotPx, Qt::red, true);
    const std::array<QCPItemTracer::TracerStyle, 3> styles = {
        QCPItemTracer::tsCircle, QCPItemTracer::tsSquare, QCPItemTracer::tsPlus};
    const std::array<const char*, 3> words = {"Sd", "Sv", "Sa"};
    for (int p = 0; p < 3; ++p) {
        peakMarks[p] = NewTracer(this, layer(QStringLiteral("main")), styles[p], kPeakRingPx,
                                 kPeakColour, false);
        peakLabels[p] =
            PeakLabel(this, peakMarks[p], QString::fromLatin1(words[p]), Look().legendFont, p == 2);
    }
    ShowInstant(0.0);
}

void OscillatorChart::SetUpRightAxis() {
    SetUpExtraAxis(yAxis2);
    // In the running maximum's colour: the axis of that curve alone.
    yAxis2->setTickLabelColor(kMaximumColour.darker(130));
    yAxis2->setLabelColor(kMaximumColour.darker(130));
    yAxis2->setVisible(false);
}

void OscillatorChart::ShowMotion(const OscillatorHistory& history) {
    motion->data()->set(MotionPoints(history), true);
    // A tracer on a graph places itself at once and complains about a graph without points.
    QCPGraph* onCurve = motion->data()->isEmpty() ? nullptr : motion;
    instantDot->setGraph(onCurve);
    const std::array<const ResponsePeak*, 3> peaks = {&history.displacement, &history.velocity,
                                                      &history.acceleration};
    for (int p = 0; p < 3; ++p) {
        peakMarks[p]->setGraph(onCurve);
        peakMarks[p]->setGraphKey(peaks[p]->timeS);
        const bool shown = onCurve != nullptr && peaks[p]->value > 0;
        peakMarks[p]->setVisible(shown);
        peakLabels[p]->setVisible(shown);
    }
    DataBounds bounds;
    for (std::size_t i = 0; i < history.displacementCm.size(); ++i) {
        bounds.Add(history.PointTime(i), history.displacementCm[i]);
    }
    SeriesDrawn(motion, bounds, true);
}

void OscillatorChart::ShowRunningMaximum(const RunningMaximum& maximum, double timeStepS) {
    QVector<QCPGraphData> points;
    points.reserve(static_cast<qsizetype>(maximum.values.size()));
    DataBounds bounds;
    const bool ownAxis = QString::fromUtf8(maximum.quantity.unit) != QStringLiteral("cm");
    for (std::size_t r = 0; r < maximum.values.size(); ++r) {
        const double timeS = static_cast<double>(r + 1) * timeStepS;
        points.append(QCPGraphData(timeS, maximum.values[r]));
        // On the right axis the values scale that axis alone; only their times count here.
        bounds.Add(timeS, ownAxis ? 0.0 : maximum.values[r]);
    }
    runningMax->data()->set(points, true);
    runningMax->setValueAxis(ownAxis ? yAxis2 : yAxis);
    const QString title = QString::fromUtf8(maximum.quantity.symbol) + QStringLiteral(" (") +
                          QString::fromUtf8(maximum.quantity.unit) + QLatin1Char(')');
    yAxis2->setVisible(ownAxis);
    yAxis2->setLabel(QStringLiteral("Running max ") + title);
    if (ownAxis) {
        ApplyRightRange(maximum.values);
    }
    SetTitle(runningMax, QStringLiteral("running max ") + title);
    SeriesDrawn(runningMax, bounds, true);
}

void OscillatorChart::ApplyRightRange(std::span<const double> values) {
    double largest = 0.0;
    for (double value : values) {
        if (std::isfinite(value)) {
            largest = std::max(largest, value);
        }
    }
    ApplyAxisRange(yAxis2, NiceRangeFor(0.0, largest > 0 ? largest : 1.0));
}

void OscillatorChart::ShowInstant(double timeS) {
    const std::optional<InstantPixels> before = PixelsOfInstant();
    instantTimeS = timeS;
    instantLine->point1->setCoords(timeS, 0.0);
    instantLine->point2->setCoords(timeS, 1.0);
    instantDot->setGraphKey(timeS);
    instantDot->setVisible(instantDot->graph() != nullptr);
    // Whatever else waits first; a full replot draws the instant where it now is.
    PaintChanges();
    if (!before.has_value() || !MoveInstantOnBuffer(*before)) {
        ItemsChanged(LiveLayer());
        PaintChanges();
    }
}

std::optional<OscillatorChart::InstantPixels> OscillatorChart::PixelsOfInstant() {
    const double lineX = xAxis->coordToPixel(instantTimeS);
    QPointF dot;
    if (instantDot->visible()) {
        instantDot->updatePosition();  // the tracer finds its point on the curve when drawn
        dot = instantDot->position->pixelPosition();
    }
    constexpr double kFarPx = 1e6;  // beyond this a position is no pixel of the widget
    if (!(std::fabs(lineX) < kFarPx && std::fabs(dot.x()) < kFarPx &&
          std::fabs(dot.y()) < kFarPx)) {
        return std::nullopt;
    }
    return InstantPixels{ToSubPixels(lineX), ToSubPixels(dot.x()), ToSubPixels(dot.y()),
                         instantDot->visible()};
}

QRegion OscillatorChart::ChangedPixels(const InstantPixels& before,
                                       const InstantPixels& after) const {
    const QRect plot = axisRect()->rect().adjusted(0, -1, 0, 1);
    const auto box = [](qint64 x64, qint64 y64) {
        const QPoint centre(static_cast<int>(x64 / 64), static_cast<int>(y64 / 64));
        return QRect(centre, centre)
            .adjusted(-kInstantHalfBoxPx, -kInstantHalfBoxPx, kInstantHalfBoxPx, kInstantHalfBoxPx);
    };
    const auto strip = [&plot](qint64 x64) {
        const int centre = static_cast<int>(x64 / 64);
        return QRect(centre - kInstantHalfBoxPx, plot.top(), 2 * kInstantHalfBoxPx + 1,
                     plot.height());
    };
    QRegion changed;
    if (before.lineX64 != after.lineX64) {
        changed = QRegion(strip(before.lineX64)).united(strip(after.lineX64));
    }
    for (const InstantPixels* at : {&before, &after}) {
        if (at->dotShown && !(before == after)) {
            changed = changed.united(box(at->dotX64, at->dotY64));
        }
    }
    return changed.intersected(rect());
}

bool OscillatorChart::MoveInstantOnBuffer(const InstantPixels& before) {
    // Only the instant's two items may be on the layer: anything else there could lose the
    // part of it inside the cleared pixels.
    if (!isVisible() || hasInvalidatedPaintBuffers() || LiveLayer()->children().size() != 2) {
        return false;
    }
    QCPAbstractPaintBuffer* buffer = LiveBuffer();
    const std::optional<InstantPixels> after = PixelsOfInstant();
    if (buffer == nullptr || buffer->invalidated() || !after.has_value()) {
        return false;
    }
    const QRegion changed = ChangedPixels(before, *after);
    if (changed.isEmpty()) {
        return true;  // the same pixels as before
    }
    const std::unique_ptr<QCPPainter> painter(buffer->startPainting());
    if (painter == nullptr || !painter->isActive()) {
        return false;
    }
    // Each rectangle cleared by a plain fill: clearing under a clip region takes the raster
    // engine's slow path (about 0.08 ms for a strip).
    painter->setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& part : changed) {
        painter->fillRect(part, Qt::transparent);
    }
    painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter->setClipRegion(changed);
    static_cast<InstantLineItem*>(instantLine)->DrawAsLayerDoes(painter.get());
    static_cast<InstantDotItem*>(instantDot)->DrawAsLayerDoes(painter.get());
    painter->end();
    buffer->donePainting();
    repaint(changed);
    return true;
}
