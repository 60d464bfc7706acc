// Min/max decimation per pixel column for the record traces.
#include "ui/TraceDecimation.h"

#include <QChart>
#include <QLineSeries>
#include <QValueAxis>
#include <QVariant>
#include <algorithm>
#include <cmath>

#include "ui/ChartHelpers.h"

namespace {

// Dynamic properties of a series: its full-resolution points, and how many points were drawn
// for them (a later replacement by other means makes the full list stale).
constexpr const char* kFullPointsProperty = "orvantaTracePoints";
constexpr const char* kDrawnCountProperty = "orvantaTraceDrawnCount";
// Columns per pixel of the plot area.
constexpr double kColumnsPerPixel = 2.0;

// Appends the kept points of one column run [begin, end) in their original order.
void AppendRun(const QList<QPointF>& points, qsizetype begin, qsizetype end, QList<QPointF>& out) {
    qsizetype low = begin, high = begin;
    for (qsizetype i = begin + 1; i < end; ++i) {
        if (points[i].y() < points[low].y())
            low = i;
        if (points[i].y() > points[high].y())
            high = i;
    }
    qsizetype kept[] = {begin, std::min(low, high), std::max(low, high), end - 1};
    qsizetype previous = -1;
    for (qsizetype index : kept) {
        if (index != previous) {
            out.append(points[index]);
            previous = index;
        }
    }
}

// The x range of points: {min, max}.
std::pair<double, double> XRange(const QList<QPointF>& points) {
    const auto [low, high] = std::minmax_element(
        points.begin(), points.end(), [](QPointF a, QPointF b) { return a.x() < b.x(); });
    return {low->x(), high->x()};
}

}  // namespace

QList<QPointF> DecimateTrace(const QList<QPointF>& points, double columnWidth) {
    if (!(columnWidth > 0) || !std::isfinite(columnWidth)) {
        return points;
    }
    QList<QPointF> out;
    qsizetype runStart = 0;
    double runColumn = 0;
    for (qsizetype i = 0; i < points.size(); ++i) {
        const double column = std::floor(points[i].x() / columnWidth);
        if (i == 0) {
            runColumn = column;
        } else if (column != runColumn) {
            AppendRun(points, runStart, i, out);
            runStart = i;
            runColumn = column;
        }
    }
    if (!points.isEmpty()) {
        AppendRun(points, runStart, points.size(), out);
    }
    return out;
}

void SetTracePoints(QLineSeries* series, const QList<QPointF>& points) {
    QChart* chart = series->chart();
    const double columns = chart != nullptr ? kColumnsPerPixel * chart->plotArea().width() : 0;
    QList<QPointF> drawn = points;
    if (columns >= 1 && points.size() > columns) {
        // The bottom axis spans at least the whole record once it is drawn; the trace's own
        // span covers the first drawing, before the axis knows the record.
        const auto [xMin, xMax] = XRange(points);
        double span = xMax - xMin;
        if (const QValueAxis* axis = BottomAxis(chart)) {
            span = std::max(span, axis->max() - axis->min());
        }
        drawn = DecimateTrace(points, span / columns);
    }
    series->setProperty(kFullPointsProperty, QVariant::fromValue(points));
    series->setProperty(kDrawnCountProperty, drawn.size());
    SetSeriesPoints(series, drawn);
}

QList<QPointF> TracePoints(const QLineSeries* series) {
    const QVariant full = series->property(kFullPointsProperty);
    const QVariant drawnCount = series->property(kDrawnCountProperty);
    if (!full.isValid() || drawnCount.value<qsizetype>() != series->count()) {
        return series->points();
    }
    return full.value<QList<QPointF>>();
}
