// Tracer and label of the read-out, laid out inside the plot area beside the pointer.
#include "ui/ChartReadoutOverlay.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>
#include <algorithm>

namespace {

constexpr int kLabelPaddingPx = 4;
constexpr int kLabelOffsetPx = 14;  // from the pointer to the label's nearest corner
constexpr double kTracerRadiusPx = 4.0;
constexpr int kCoveredSlackPx = 3;  // antialiased edges beyond the shapes' rectangles

const QColor kTracerColour(200, 0, 0);
const QColor kCrossLineColour(90, 90, 90, 140);
const QColor kLabelBackground(255, 255, 240, 235);
const QColor kLabelBorder(120, 120, 120);
const QColor kLabelText(30, 30, 30);

}  // namespace

QRegion ChartReadoutOverlay::Show(const QCustomPlot& plot, const ChartReadout& readout,
                                  QPointF pointerPos) {
    const QRegion before(covered);
    shown = readout;
    pointer = pointerPos;
    covered = Covered(plot);
    return before.united(covered);
}

QRegion ChartReadoutOverlay::Hide() {
    const QRegion before(covered);
    shown.reset();
    covered = QRect();
    return before;
}

std::optional<QPointF> ChartReadoutOverlay::TracerAt(const QCustomPlot& plot) const {
    if (!shown) {
        return std::nullopt;
    }
    const QPointF at(plot.xAxis->coordToPixel(shown->point.x()),
                     plot.yAxis->coordToPixel(shown->point.y()));
    const QRectF area = plot.axisRect()->rect();
    if (!area.adjusted(-1, -1, 1, 1).contains(at)) {
        return std::nullopt;  // zoomed away, or a value a logarithmic axis cannot show
    }
    return at;
}

QRect ChartReadoutOverlay::LabelRect(const QCustomPlot& plot) const {
    const QFontMetrics metrics(font);
    const QStringList lines = shown->text.split(QLatin1Char('\n'));
    int width = 0;
    for (const QString& line : lines) {
        width = std::max(width, metrics.horizontalAdvance(line));
    }
    const QSize size(width + 2 * kLabelPaddingPx,
                     static_cast<int>(lines.size()) * metrics.lineSpacing() + 2 * kLabelPaddingPx);
    const QRect area = plot.axisRect()->rect();
    const QPoint at = pointer.toPoint();
    // Below right of the pointer, flipped to the other side where the plot area ends.
    int left = at.x() + kLabelOffsetPx;
    if (left + size.width() > area.right()) {
        left = at.x() - kLabelOffsetPx - size.width();
    }
    int top = at.y() + kLabelOffsetPx;
    if (top + size.height() > area.bottom()) {
        top = at.y() - kLabelOffsetPx - size.height();
    }
    left = std::clamp(left, area.left(), std::max(area.left(), area.right() - size.width()));
    top = std::clamp(top, area.top(), std::max(area.top(), area.bottom() - size.height()));
    return QRect(QPoint(left, top), size);
}

QRect ChartReadoutOverlay::Covered(const QCustomPlot& plot) const {
    if (!shown) {
        return QRect();
    }
    QRect all = LabelRect(plot);
    if (const std::optional<QPointF> tracer = TracerAt(plot)) {
        const QRect area = plot.axisRect()->rect();
        const int x = static_cast<int>(tracer->x());
        all = all.united(QRect(x - 1, area.top(), 3, area.height()));
        const auto r = static_cast<int>(kTracerRadiusPx);
        all = all.united(QRect(tracer->toPoint() - QPoint(r, r), QSize(2 * r + 1, 2 * r + 1)));
    }
    return all.adjusted(-kCoveredSlackPx, -kCoveredSlackPx, kCoveredSlackPx, kCoveredSlackPx);
}

void ChartReadoutOverlay::Paint(QPainter& painter, const QCustomPlot& plot) const {
    if (!shown) {
        return;
    }
    painter.save();
    const QRect area = plot.axisRect()->rect();
    painter.setClipRect(area.adjusted(0, 0, 1, 1));
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (const std::optional<QPointF> tracer = TracerAt(plot)) {
        painter.setPen(QPen(kCrossLineColour, 1, Qt::DashLine));
        painter.drawLine(QPointF(tracer->x(), area.top()), QPointF(tracer->x(), area.bottom()));
        painter.setPen(QPen(kTracerColour, 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(*tracer, kTracerRadiusPx, kTracerRadiusPx);
    }
    const QRect label = LabelRect(plot);
    painter.setPen(QPen(kLabelBorder, 1));
    painter.setBrush(kLabelBackground);
    painter.drawRoundedRect(QRectF(label).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    painter.setFont(font);
    painter.setPen(kLabelText);
    painter.drawText(label.adjusted(kLabelPaddingPx, kLabelPaddingPx, 0, 0),
                     Qt::AlignLeft | Qt::AlignTop, shown->text);
    painter.restore();
}
