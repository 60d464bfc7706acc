// Chart setup, nice-number axis scaling and whole-list series updates for both charts.
#include "ui/ChartHelpers.h"

#include <QChart>
#include <QFont>
#include <QGraphicsLayout>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLinearGradient>
#include <QPen>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Dynamic property on a chart: its left axis keeps its minimum at 0.
constexpr const char* kLeftFromZeroProperty = "orvantaLeftFromZero";
// Opacity of a hidden series' legend entry.
constexpr double kHiddenAlpha = 0.3;
// Stacking order of Qt Charts items: grid 2, axes 3, series 4, legend 5. The record
// chart's legend sits between the grid and the traces, so the traces stay readable.
constexpr double kLegendBehindSeriesZ = 2.5;
constexpr double kLegendSlackPx = 30.0;

const QColor kAxisLineColour(64, 64, 64);
const QColor kGridColour(169, 169, 169);
const QColor kGradientBottom(234, 234, 234);

QColor WithAlpha(QColor colour, double alpha) {
    colour.setAlphaF(alpha);
    return colour;
}

// Shows the series' state in its legend entry: title in the series' colour, dimmed
// (marker and text) while the series is hidden.
void ShowMarkerState(QLegendMarker* marker, QLineSeries* series) {
    const double alpha = series->isVisible() ? 1.0 : kHiddenAlpha;
    const QColor colour = series->pen().color();
    marker->setVisible(true);
    marker->setLabelBrush(QBrush(WithAlpha(colour, alpha)));
    marker->setBrush(QBrush(WithAlpha(colour, alpha)));
    QPen pen = marker->pen();
    pen.setColor(WithAlpha(colour, alpha));
    marker->setPen(pen);
}

// A click on a legend entry shows or hides its series; the entry stays and shows the state.
void MakeLegendToggle(QChart* chart) {
    for (QLegendMarker* marker : chart->legend()->markers()) {
        auto* series = qobject_cast<QLineSeries*>(marker->series());
        if (series == nullptr) {
            continue;
        }
        ShowMarkerState(marker, series);
        QObject::connect(marker, &QLegendMarker::clicked, chart, [chart, marker, series] {
            series->setVisible(!series->isVisible());
            ShowMarkerState(marker, series);
            RescaleAxes(chart, chart->property(kLeftFromZeroProperty).toBool());
        });
    }
}

// Puts the detached legend, one entry per row, in the plot area's top-right corner.
void PlaceLegend(QChart* chart) {
    QLegend* legend = chart->legend();
    const QRectF plotArea = chart->plotArea();
    legend->layout()->invalidate();  // entries may have new titles: drop the cached hint
    const QSizeF size = legend->effectiveSizeHint(Qt::PreferredSize);
    const double widthPx = std::min(size.width(), plotArea.width());
    // A detached legend stacks its entries from the bottom and starts a new column (outside
    // its box) when the next entry would reach the top edge; its own size hint leaves no
    // room for that test, so the box gets slack to keep every entry in one column.
    legend->setGeometry(QRectF(plotArea.right() - widthPx - 4, plotArea.top() + 4, widthPx,
                               size.height() + kLegendSlackPx));
    legend->update();
}

// The legend lies inside the plot area without shrinking it, and follows the plot area's
// moves and its entries' new titles.
void PlaceLegendInPlotArea(QChart* chart) {
    QLegend* legend = chart->legend();
    legend->detachFromChart();
    legend->setAlignment(Qt::AlignRight);
    legend->setBackgroundVisible(false);
    QObject::connect(chart, &QChart::plotAreaChanged, legend, [chart] { PlaceLegend(chart); });
    for (QAbstractSeries* series : chart->series()) {
        QObject::connect(
            series, &QAbstractSeries::nameChanged, legend, [chart] { PlaceLegend(chart); },
            Qt::QueuedConnection);
    }
}

void SetupSeries(QLineSeries* series, int widthPx, const QColor& colour) {
    QPen pen = series->pen();
    pen.setWidth(widthPx);
    pen.setColor(colour);
    series->setPen(pen);
    series->setPointsVisible(false);
    series->setName(QStringLiteral("Time="));
}

QValueAxis* AddAxis(QChart* chart, Qt::Alignment alignment, const QString& title) {
    auto* axis = new QValueAxis(chart);
    axis->setTitleText(title);
    chart->addAxis(axis, alignment);
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(axis);
    }
    return axis;
}

void SetupChart(QChart* chart, QLineSeries* first, QLineSeries* second, const QString& xTitle,
                const QString& yTitle, bool leftFromZero) {
    chart->setProperty(kLeftFromZeroProperty, leftFromZero);
    chart->addSeries(first);
    chart->addSeries(second);
    AddAxis(chart, Qt::AlignBottom, xTitle);
    AddAxis(chart, Qt::AlignLeft, yTitle);
    chart->setTitle(QString());
    chart->setMargins(QMargins(4, 4, 4, 4));
    PlaceLegendInPlotArea(chart);
    MakeLegendToggle(chart);
    RescaleAxes(chart, leftFromZero);
}

QLinearGradient VerticalGreyGradient() {
    QLinearGradient gradient(QPointF(0, 1), QPointF(0, 0));  // bottom to top
    gradient.setCoordinateMode(QGradient::ObjectMode);
    gradient.setColorAt(0.0, kGradientBottom);
    gradient.setColorAt(1.0, Qt::white);
    return gradient;
}

// Verdana where installed; otherwise the default sans-serif, without a warning.
QFont VerdanaFont(int pointSize, bool bold = false) {
    QFont font(QStringLiteral("Verdana"), pointSize, bold ? QFont::Bold : QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

void ApplySpectrumLook(QChart* chart) {
    chart->setBackgroundBrush(VerticalGreyGradient());
    chart->setPlotAreaBackgroundBrush(VerticalGreyGradient());
    chart->setPlotAreaBackgroundVisible(true);
    chart->legend()->setFont(VerdanaFont(8));
    for (QAbstractAxis* axis : chart->axes()) {
        axis->setLinePenColor(kAxisLineColour);
        axis->setGridLineColor(kGridColour);
        axis->setLabelsFont(VerdanaFont(8));
        axis->setTitleFont(VerdanaFont(8, true));
    }
}

// Sets only what changes: every setter that fires re-lays the axis out, and playback
// rescales on every step with the same range.
void ApplyRange(QValueAxis* axis, const NiceRange& range) {
    if (axis->min() != range.min || axis->max() != range.max) {
        axis->setRange(range.min, range.max);
    }
    const int tickCount = TickCount(range);
    if (axis->tickCount() != tickCount) {
        axis->setTickCount(tickCount);
    }
    const QString format =
        QStringLiteral("%.") + QString::number(DecimalsFor(range.step)) + QStringLiteral("f");
    if (axis->labelFormat() != format) {
        axis->setLabelFormat(format);
    }
}

}  // namespace

void SetupRecordChart(QChart* chart, QLineSeries* whole, QLineSeries* toInstant) {
    SetupSeries(whole, 3, QColor(0, 90, 200));
    SetupSeries(toInstant, 1, Qt::red);
    SetupChart(chart, whole, toInstant, QStringLiteral("Time (s)"), QStringLiteral("Acc. (g)"),
               false);
    chart->legend()->setZValue(kLegendBehindSeriesZ);
}

void SetupSpectrumChart(QChart* chart, QLineSeries* whole, QLineSeries* atInstant) {
    SetupSeries(whole, 3, QColor(0, 90, 200));
    SetupSeries(atInstant, 1, Qt::red);
    SetupChart(chart, whole, atInstant, QStringLiteral("Period (s)"), QStringLiteral("Disp (cm)"),
               true);
    ApplySpectrumLook(chart);
}

void SetSeriesPoints(QLineSeries* series, const QList<QPointF>& points) {
    series->replace(points);
    if (QChart* chart = series->chart()) {
        RescaleAxes(chart, chart->property(kLeftFromZeroProperty).toBool());
    }
}

void ClearSeries(QLineSeries* series) {
    SetSeriesPoints(series, {});
}

void RescaleAxes(QChart* chart, bool leftFromZero) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    double minX = kInf, maxX = -kInf, minY = kInf, maxY = -kInf;
    for (QAbstractSeries* abstract : chart->series()) {
        auto* series = qobject_cast<QLineSeries*>(abstract);
        if (series == nullptr || !series->isVisible()) {
            continue;
        }
        for (const QPointF& p : series->points()) {
            minX = std::min(minX, p.x());
            maxX = std::max(maxX, p.x());
            minY = std::min(minY, p.y());
            maxY = std::max(maxY, p.y());
        }
    }
    QValueAxis* bottom = BottomAxis(chart);
    QValueAxis* left = LeftAxis(chart);
    if (bottom == nullptr || left == nullptr) {
        return;
    }
    if (minX > maxX) {  // no visible point
        ApplyRange(bottom, NiceRange{});
        ApplyRange(left, NiceRange{});
        return;
    }
    ApplyRange(bottom, NiceRangeFor(minX, maxX));
    if (leftFromZero) {
        ApplyRange(left, maxY > 0.0 ? NiceRangeFor(0.0, maxY) : NiceRange{});
    } else {
        ApplyRange(left, NiceRangeFor(minY, maxY));
    }
}

QValueAxis* BottomAxis(QChart* chart) {
    const auto axes = chart->axes(Qt::Horizontal);
    return axes.isEmpty() ? nullptr : qobject_cast<QValueAxis*>(axes.first());
}

QValueAxis* LeftAxis(QChart* chart) {
    const auto axes = chart->axes(Qt::Vertical);
    return axes.isEmpty() ? nullptr : qobject_cast<QValueAxis*>(axes.first());
}
