// Axis ranges of a chart: the automatic nice ranges of the visible data, the ranges the user
// zoomed or panned to (kept while the data changes), linear or logarithmic scales, and tick
// labels that stay short at every magnitude.
#include <QFontMetrics>
#include <algorithm>

#include "plot/TickLabels.h"
#include "ui/ChartWidget.h"

namespace {

// Room above the plot area, and right of the half of the bottom axis' last tick label that
// stands out of the plot area.
constexpr int kPlotTopMarginPx = 8;
constexpr int kPlotRightSlackPx = 3;

QString NumberFormat(const TickLabelFormat& format) {
    // 'b': powers of ten written as 1.2·10^306, or 10^-5 on a logarithmic axis.
    return format.format == 'f' ? QStringLiteral("f") : QStringLiteral("gb");
}

// QCustomPlot refuses ranges that reach QCPRange::maxRange (1e250) and keeps the axis as it
// was. Data beyond it (a record of 1e306 g) gets the widest range it takes, so the axis at least
// shows what it can, with its own ticks.
constexpr double kWidestEnd = 2e249;

NiceRange Showable(const NiceRange& range, bool logarithmic) {
    if (range.min >= -kWidestEnd && range.max <= kWidestEnd) {
        return range;
    }
    const double low = std::max(range.min, -kWidestEnd);
    const double high = std::min(range.max, kWidestEnd);
    return logarithmic ? NiceRange{low, high, range.step} : NiceRangeFor(low, high);
}

}  // namespace

QCPAxis* ChartWidget::AxisOf(Qt::Orientation orientation) const {
    return orientation == Qt::Horizontal ? xAxis : yAxis;
}

ChartWidget::AxisState& ChartWidget::StateOf(Qt::Orientation orientation) {
    return orientation == Qt::Horizontal ? bottomAxis : leftAxis;
}

const ChartWidget::AxisState& ChartWidget::StateOf(Qt::Orientation orientation) const {
    return orientation == Qt::Horizontal ? bottomAxis : leftAxis;
}

void ChartWidget::Rescale() {
    DataBounds visible;
    for (const Series& s : series) {
        if (s.plottable->visible()) {
            visible.Add(s.bounds);
        }
    }
    const AxisRanges ranges = AxisRangesFor(
        visible, leftFromZero, AxisScales{bottomAxis.logarithmic, leftAxis.logarithmic});
    // A range the user set stays: new automatic ranges only matter on automatic axes.
    const bool moves = (!bottomAxis.userRange && ranges.bottom != appliedRanges.bottom) ||
                       (!leftAxis.userRange && ranges.left != appliedRanges.left);
    appliedRanges = ranges;
    if (moves) {
        ApplyRanges();
        pending.full = true;
    }
}

void ChartWidget::ApplyRanges() {
    if (!bottomAxis.userRange) {
        const NiceRange bottom = Showable(appliedRanges.bottom, bottomAxis.logarithmic);
        xAxis->setRange(bottom.min, bottom.max);
        ApplyTicks(xAxis, bottomAxis, bottom);
    }
    if (!leftAxis.userRange) {
        const NiceRange left = Showable(appliedRanges.left, leftAxis.logarithmic);
        yAxis->setRange(left.min, left.max);
        ApplyTicks(yAxis, leftAxis, left);
    }
    FitRightMargin();
}

void ChartWidget::ApplyTicks(QCPAxis* axis, const AxisState& state, const NiceRange& range) {
    TickLabelFormat format;
    if (state.logarithmic) {
        format = LogLabelFormat(range);
    } else {
        if (auto* ticker = dynamic_cast<QCPAxisTickerFixed*>(state.linearTicker.data())) {
            ticker->setTickStep(range.step);
        }
        format = LinearLabelFormat(range);
    }
    axis->setNumberFormat(NumberFormat(format));
    axis->setNumberPrecision(format.precision);
}

void ChartWidget::FitRightMargin() {
    // The bottom axis' last label is centred on the plot area's right edge: leave room for
    // the half of it that stands out.
    const double last = xAxis->range().upper;
    const QString numberFormat = xAxis->numberFormat();
    const QString lastLabel =
        locale().toString(last, numberFormat.at(0).toLatin1(), xAxis->numberPrecision());
    const int halfLabelPx = (QFontMetrics(look.tickLabelFont).horizontalAdvance(lastLabel) + 1) / 2;
    axisRect()->setMinimumMargins(
        QMargins(0, kPlotTopMarginPx, halfLabelPx + kPlotRightSlackPx, 0));
}

void ChartWidget::SetUserRange(Qt::Orientation orientation, const QCPRange& range) {
    QCPAxis* axis = AxisOf(orientation);
    AxisState& state = StateOf(orientation);
    state.userRange = true;
    axis->setRange(range);  // QCustomPlot refuses ranges it cannot show (and, on a log axis, <= 0)
    const QCPRange shown = axis->range();
    NiceRange ticks = NiceRangeFor(shown.lower, shown.upper);
    ticks.min = shown.lower;
    ticks.max = shown.upper;
    ApplyTicks(axis, state, ticks);
    FitRightMargin();
    pending.full = true;
    PaintLater();
}

void ChartWidget::ResetZoom() {
    if (!Zoomed()) {
        return;
    }
    bottomAxis.userRange = false;
    leftAxis.userRange = false;
    ApplyRanges();
    pending.full = true;
    PaintLater();
}

void ChartWidget::SetLogarithmic(Qt::Orientation orientation, bool logarithmic) {
    AxisState& state = StateOf(orientation);
    if (state.logarithmic == logarithmic) {
        return;
    }
    QCPAxis* axis = AxisOf(orientation);
    state.logarithmic = logarithmic;
    state.userRange = false;
    axis->setScaleType(logarithmic ? QCPAxis::stLogarithmic : QCPAxis::stLinear);
    axis->setTicker(logarithmic ? state.logTicker : state.linearTicker);
    axis->setSubTicks(logarithmic);
    appliedRanges = AxisRanges{};
    Rescale();
    ApplyRanges();
    pending.full = true;
    PaintLater();
}

bool ChartWidget::IsLogarithmic(Qt::Orientation orientation) const {
    return StateOf(orientation).logarithmic;
}
