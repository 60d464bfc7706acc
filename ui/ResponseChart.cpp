// The spectrum chart: two curves in period-grid order, the grey-gradient look, the left axis
// from 0. The whole-record spectrum does not change with the instant, so a new instant
// redraws only the red curve and the legend.
#include "ui/ResponseChart.h"

#include <QLinearGradient>
#include <algorithm>
#include <utility>

#include "ui/ChartMarks.h"

namespace {

const QColor kWholeRecordColour(0, 90, 200);
// The ring of the inspected period: dark green, clear of both spectra's colours.
const QColor kMarkColour(0, 120, 60);
constexpr double kMarkDiameterPx = 11;

// Verdana where installed; otherwise the default sans-serif, without a warning.
QFont VerdanaFont(int pointSize, bool bold = false) {
    QFont font(QStringLiteral("Verdana"), pointSize, bold ? QFont::Bold : QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

// From light grey RGB(234,234,234) at the bottom to white at the top of what it fills.
QBrush VerticalGreyGradient() {
    QLinearGradient gradient(QPointF(0, 1), QPointF(0, 0));
    gradient.setCoordinateMode(QGradient::ObjectMode);
    gradient.setColorAt(0.0, QColor(234, 234, 234));
    gradient.setColorAt(1.0, Qt::white);
    return QBrush(gradient);
}

ChartLook SpectrumLook() {
    ChartLook look;
    look.tickLabelFont = VerdanaFont(8);
    look.axisTitleFont = VerdanaFont(8, true);
    look.legendFont = VerdanaFont(8);
    look.textColour = QColor(64, 64, 68);
    look.axisLineColour = QColor(64, 64, 64);
    look.gridColour = QColor(169, 169, 169);
    look.chartBrush = VerticalGreyGradient();
    look.plotAreaBrush = VerticalGreyGradient();
    look.legendBehindSeries = false;  // drawn over the plot area
    return look;
}

// Whether curve holds exactly the points (x[k], y[k]), k below count, in this order.
bool HoldsPoints(const QCPCurve* curve, std::span<const double> x, std::span<const double> y,
                 std::size_t count) {
    const QSharedPointer<QCPCurveDataContainer> data = curve->data();
    if (data->size() != static_cast<int>(count)) {
        return false;
    }
    std::size_t k = 0;
    for (auto it = data->constBegin(); it != data->constEnd(); ++it, ++k) {
        if (it->key != x[k] || it->value != y[k]) {
            return false;
        }
    }
    return true;
}

// A ring around a marked point, drawn over the spectra, ignoring clicks.
QCPItemTracer* NewMark(QCustomPlot* chart, QCPLayer* layer) {
    auto* mark = new QCPItemTracer(chart);
    SetUpMark(mark, layer, QCPItemTracer::tsCircle, kMarkDiameterPx, kMarkColour, false);
    return mark;
}

}  // namespace

ResponseChart::ResponseChart(QWidget* parent)
    : ChartWidget(parent, SpectrumLook(), true),
      whole(AddCurve(kWholeRecordColour, 3, false)),
      atInstant(AddCurve(Qt::red, 1, true)),
      wholeMark(NewMark(this, layer(QStringLiteral("main")))),
      instantMark(NewMark(this, LiveLayer())) {
    xAxis->setLabel(QStringLiteral("Period (s)"));
    yAxis->setLabel(QStringLiteral("Disp (cm)"));
}

void ResponseChart::ShowSpectrum(QCPCurve* series, std::span<const double> x,
                                 std::span<const double> y) {
    const std::size_t count = std::min(x.size(), y.size());
    const bool changed = !HoldsPoints(series, x, y, count);
    if (changed) {
        QVector<QCPCurveData> points;
        points.reserve(static_cast<qsizetype>(count));
        for (std::size_t k = 0; k < count; ++k) {
            points.append(QCPCurveData(static_cast<double>(k), x[k], y[k]));
        }
        series->data()->set(points, true);
    }
    PlaceMark(series == whole ? wholeMark : instantMark, series);
    SeriesDrawn(series, BoundsOf(x.first(count), y.first(count)), changed);
}

void ResponseChart::Clear(QCPAbstractPlottable* series) {
    ChartWidget::Clear(series);
    if (series == whole) {
        PlaceMark(wholeMark, whole);
    } else if (series == atInstant) {
        PlaceMark(instantMark, atInstant);
    }
}

void ResponseChart::MarkPoint(std::optional<std::size_t> k) {
    marked = k;
    for (auto [mark, series] : {std::pair{wholeMark, whole}, std::pair{instantMark, atInstant}}) {
        if (PlaceMark(mark, series)) {
            ItemsChanged(mark->layer());
        }
    }
}

bool ResponseChart::PlaceMark(QCPItemTracer* mark, const QCPCurve* series) {
    const QSharedPointer<QCPCurveDataContainer> data = series->data();
    const bool shown = marked.has_value() && *marked < static_cast<std::size_t>(data->size());
    const QPointF where = shown ? QPointF(data->at(static_cast<int>(*marked))->key,
                                          data->at(static_cast<int>(*marked))->value)
                                : QPointF();
    if (shown == mark->visible() && (!shown || mark->position->coords() == where)) {
        return false;
    }
    mark->setVisible(shown);
    mark->position->setCoords(where);
    return true;
}
