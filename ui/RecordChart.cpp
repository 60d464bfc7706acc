// The record chart: both traces as graphs with every sample; QCustomPlot's adaptive sampling
// draws what the pixel columns can show, and the red trace changes by the samples an instant
// adds or removes.
#include "ui/RecordChart.h"

#include <QApplication>
#include <algorithm>
#include <cmath>

namespace {

const QColor kRecordColour(0, 90, 200);

ChartLook RecordLook() {
    ChartLook look;
    const QFont font = QApplication::font();
    look.tickLabelFont = font;
    look.axisTitleFont = font;
    look.axisTitleFont.setBold(true);
    look.legendFont = font;
    look.textColour = QColor(64, 64, 68);
    look.axisLineColour = QColor(200, 200, 200);
    look.gridColour = QColor(226, 226, 226);
    look.chartBrush = QBrush(Qt::white);
    look.plotAreaBrush = QBrush(Qt::NoBrush);
    look.legendBehindSeries = true;  // the traces stay readable over the legend
    return look;
}

// The time (s) of sample i.
double SampleTime(std::size_t i, double timeStepS) {
    return static_cast<double>(i) * timeStepS;
}

// The points (i * timeStepS, accG[i]) for i in [first, last), in ascending x as a graph keeps
// them: reversed for a negative time step; in sample order when the step is 0 or not a number.
QVector<QCPGraphData> SamplePoints(std::span<const double> accG, double timeStepS,
                                   std::size_t first, std::size_t last) {
    QVector<QCPGraphData> points;
    points.reserve(static_cast<qsizetype>(last - first));
    if (timeStepS < 0.0) {
        for (std::size_t i = last; i-- > first;) {
            points.append(QCPGraphData(SampleTime(i, timeStepS), accG[i]));
        }
    } else {
        for (std::size_t i = first; i < last; ++i) {
            points.append(QCPGraphData(SampleTime(i, timeStepS), accG[i]));
        }
    }
    return points;
}

}  // namespace

ChartLook RecordChartLook() {
    return RecordLook();
}

RecordChart::RecordChart(QWidget* parent)
    : ChartWidget(parent, RecordLook(), false),
      whole(AddGraph(kRecordColour, 3, false)),
      trace(AddGraph(Qt::red, 1, true)) {
    xAxis->setLabel(QStringLiteral("Time (s)"));
    yAxis->setLabel(QStringLiteral("Acc. (g)"));
    // A trace that shrinks keeps its memory for growing again.
    trace->data()->setAutoSqueeze(false);
}

void RecordChart::ShowRecord(std::span<const double> accG, double timeStepS) {
    whole->data()->set(SamplePoints(accG, timeStepS, 0, accG.size()), true);
    SeriesDrawn(whole, SampleBounds(accG, timeStepS), true);
}

bool RecordChart::GrowOrShrinkTrace(std::span<const double> accG, double timeStepS,
                                    std::size_t sampleCount) {
    // Only strictly ascending times let the container append at its end and cut at a time.
    const bool ascending = timeStepS > 0.0 && std::isfinite(timeStepS);
    const bool sameSamples = accG.data() == source.data && accG.size() == source.size &&
                             timeStepS == source.timeStepS &&
                             trace->data()->size() == static_cast<int>(source.shown);
    if (!ascending || !sameSamples || sampleCount == 0) {
        return false;
    }
    if (sampleCount >= source.shown) {
        trace->data()->add(SamplePoints(accG, timeStepS, source.shown, sampleCount), true);
        traceBounds.Add(SampleBounds(accG.first(sampleCount), timeStepS, source.shown));
    } else {
        trace->data()->removeAfter(SampleTime(sampleCount - 1, timeStepS));
        traceBounds = SampleBounds(accG.first(sampleCount), timeStepS);
    }
    // Times too close to tell apart would leave other points than asked for.
    return trace->data()->size() == static_cast<int>(sampleCount);
}

void RecordChart::ShowTrace(std::span<const double> accG, double timeStepS,
                            std::size_t sampleCount) {
    sampleCount = std::min(sampleCount, accG.size());
    const std::size_t shownBefore = source.shown;
    const bool kept = GrowOrShrinkTrace(accG, timeStepS, sampleCount);
    if (!kept) {
        trace->data()->set(SamplePoints(accG, timeStepS, 0, sampleCount), true);
        traceBounds = SampleBounds(accG.first(sampleCount), timeStepS);
    }
    source = TraceSource{accG.data(), accG.size(), timeStepS, sampleCount};
    const bool grew = kept && sampleCount >= shownBefore;
    SeriesDrawn(trace, traceBounds, true, grew ? LiveChange::GrewAtEnd : LiveChange::Redraw);
}

bool RecordChart::DrawLiveTail(QCPPainter* painter) {
    if (!trace->realVisibility()) {
        return true;  // a hidden trace has nothing on the buffer
    }
    const QSharedPointer<QCPGraphDataContainer> data = trace->data();
    const int first = std::max(tracePointsDrawn - 1, 0);
    // Beyond a few points per pixel column the adaptive sampling of a full drawing is cheaper.
    const int limit = 2 * std::max(axisRect()->width(), 1);
    if (data->isEmpty() || data->size() < tracePointsDrawn || data->size() - first > limit) {
        return false;
    }
    // Set up as QCPLayer sets up the drawing of each of its children (clipped to the axis
    // rect), and with the pen as the graph draws its lines (a 1.0 pen as a cosmetic line).
    painter->setClipRect(axisRect()->rect().translated(0, -1));
    painter->setAntialiasing(trace->antialiased());
    QPen pen = trace->pen();
    if (qFuzzyCompare(pen.widthF(), 1.0)) {
        pen.setWidth(0);
    }
    painter->setPen(pen);
    auto it = data->constBegin() + first;
    QPointF previous(xAxis->coordToPixel(it->key), yAxis->coordToPixel(it->value));
    for (++it; it != data->constEnd(); ++it) {
        const QPointF point(xAxis->coordToPixel(it->key), yAxis->coordToPixel(it->value));
        painter->drawLine(previous, point);
        previous = point;
    }
    return true;
}

void RecordChart::LiveLayerUpToDate() {
    tracePointsDrawn = trace->data()->size();
}

void RecordChart::Clear(QCPAbstractPlottable* series) {
    if (series == trace) {
        source = TraceSource{};
        traceBounds = DataBounds{};
    }
    ChartWidget::Clear(series);
}
