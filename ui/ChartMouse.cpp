// The pointer over a chart: legend clicks, plot clicks, panning by dragging, a zoom box with
// Shift, wheel zoom about the pointer, the automatic range on a double click, and the read-out
// of the point under the pointer.
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QWheelEvent>
#include <cmath>
#include <utility>

#include "ui/ChartReadoutOverlay.h"
#include "ui/ChartWidget.h"

namespace {

// A press and release this close (px, Manhattan) is a click, not a drag.
constexpr int kClickSlopPx = 4;
// One wheel notch (120 eighths of a degree) shows this share of the range: 15 % closer.
constexpr double kZoomPerNotch = 0.85;
constexpr double kEighthsPerNotch = 120.0;

// The range of axis moved by pixels as the data under a dragged pointer moves: the coordinate
// at each end's pixel minus the drag. Works alike on linear and logarithmic axes.
QCPRange Shifted(QCPAxis* axis, const QCPRange& from, double pixels) {
    axis->setRange(from);
    return QCPRange(axis->pixelToCoord(axis->coordToPixel(from.lower) - pixels),
                    axis->pixelToCoord(axis->coordToPixel(from.upper) - pixels));
}

}  // namespace

ChartWidget::GestureAxes ChartWidget::AxesAt(QPointF pos) const {
    const QRectF area = axisRect()->rect();
    const bool inColumns = pos.x() >= area.left() && pos.x() <= area.right();
    const bool inRows = pos.y() >= area.top() && pos.y() <= area.bottom();
    if (inColumns && inRows) {
        return GestureAxes{true, true};
    }
    // Below the plot area: the bottom axis alone; left of it: the left axis alone.
    return GestureAxes{inColumns && pos.y() > area.bottom(), inRows && pos.x() < area.left()};
}

void ChartWidget::mousePressEvent(QMouseEvent* event) {
    // Found here rather than through QCustomPlot's click signals: on the record chart the
    // legend lies behind the traces, which would take a click near a line.
    const bool left = event->button() == Qt::LeftButton;
    const QPointF pos = event->position();
    pressedEntry = left ? LegendEntryAt(pos) : nullptr;
    pressedAt = left && pressedEntry == nullptr ? std::optional<QPointF>(pos) : std::nullopt;
    drag.reset();
    const GestureAxes axes = AxesAt(pos);
    if (pressedAt && (axes.bottom || axes.left)) {
        drag = Drag{pos,
                    xAxis->range(),
                    yAxis->range(),
                    axes,
                    (event->modifiers() & Qt::ShiftModifier) != 0,
                    false};
    }
    QCustomPlot::mousePressEvent(event);
}

void ChartWidget::mouseMoveEvent(QMouseEvent* event) {
    QCustomPlot::mouseMoveEvent(event);
    const QPointF pos = event->position();
    if (drag && (event->buttons() & Qt::LeftButton)) {
        drag->moved = drag->moved || (pos - drag->from).manhattanLength() > kClickSlopPx;
        if (drag->moved && drag->box) {
            ShowBox(*drag, pos);
        } else if (drag->moved) {
            PanTo(*drag, pos);
        }
    }
    UpdateReadout(pos);
}

void ChartWidget::mouseReleaseEvent(QMouseEvent* event) {
    QCustomPlot::mouseReleaseEvent(event);
    const bool left = event->button() == Qt::LeftButton;
    const QPointF pos = event->position();
    QCPPlottableLegendItem* pressed = std::exchange(pressedEntry, nullptr);
    if (left && pressed != nullptr && pressed == LegendEntryAt(pos)) {
        ToggleSeries(pressed->plottable());
    }
    const std::optional<QPointF> pressedPos = std::exchange(pressedAt, std::nullopt);
    const std::optional<Drag> finished = left ? std::exchange(drag, std::nullopt) : std::nullopt;
    if (finished && finished->moved) {
        if (finished->box) {
            ZoomToBox(*finished, pos);
        }
        return;  // a drag is no click
    }
    if (left && pressedPos && (pos - *pressedPos).manhattanLength() <= kClickSlopPx) {
        clickedAt = pos;
        clickDelay->start(QApplication::doubleClickInterval());
    }
}

void ChartWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    QCustomPlot::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) {
        // Neither click of a double click is a click of its own: the first one's report is
        // withdrawn, and the second press (delivered before this event) is forgotten.
        clickDelay->stop();
        pressedAt.reset();
    }
    if (event->button() == Qt::LeftButton && LegendEntryAt(event->position()) == nullptr) {
        ResetZoom();
        PaintChanges();
    }
}

void ChartWidget::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / kEighthsPerNotch;
    const GestureAxes axes = AxesAt(event->position());
    if (notches == 0.0 || (!axes.bottom && !axes.left)) {
        QCustomPlot::wheelEvent(event);
        return;
    }
    const double factor = std::pow(kZoomPerNotch, notches);
    // About the pointer: the coordinate under it stays under it.
    const QPointF pos = event->position();
    const QPointF under(xAxis->pixelToCoord(pos.x()), yAxis->pixelToCoord(pos.y()));
    if (axes.bottom) {
        xAxis->scaleRange(factor, under.x());
        SetUserRange(Qt::Horizontal, xAxis->range());
    }
    if (axes.left) {
        yAxis->scaleRange(factor, under.y());
        SetUserRange(Qt::Vertical, yAxis->range());
    }
    // Labels of other lengths move the plot area's edges: shift the ranges back under the
    // pointer once the layout has taken them.
    updateLayout();
    if (axes.bottom) {
        SetUserRange(Qt::Horizontal,
                     Shifted(xAxis, xAxis->range(), pos.x() - xAxis->coordToPixel(under.x())));
    }
    if (axes.left) {
        SetUserRange(Qt::Vertical,
                     Shifted(yAxis, yAxis->range(), pos.y() - yAxis->coordToPixel(under.y())));
    }
    event->accept();
}

void ChartWidget::PanTo(const Drag& from, QPointF pos) {
    const QPointF moved = pos - from.from;
    if (from.axes.bottom) {
        SetUserRange(Qt::Horizontal, Shifted(xAxis, from.bottomFrom, moved.x()));
    }
    if (from.axes.left) {
        SetUserRange(Qt::Vertical, Shifted(yAxis, from.leftFrom, moved.y()));
    }
}

void ChartWidget::ShowBox(const Drag& from, QPointF pos) {
    if (box == nullptr) {
        box = new QRubberBand(QRubberBand::Rectangle, this);
    }
    const QRect area = axisRect()->rect();
    QRect chosen = QRectF(from.from, pos).normalized().toRect().intersected(area);
    // Over an axis the box spans the whole plot area the other way.
    if (!from.axes.left) {
        chosen.setTop(area.top());
        chosen.setBottom(area.bottom());
    }
    if (!from.axes.bottom) {
        chosen.setLeft(area.left());
        chosen.setRight(area.right());
    }
    box->setGeometry(chosen);
    box->show();
}

void ChartWidget::ZoomToBox(const Drag& from, QPointF pos) {
    if (box != nullptr) {
        box->hide();
    }
    const QRectF chosen = QRectF(from.from, pos).normalized();
    if (from.axes.bottom && chosen.width() > kClickSlopPx) {
        SetUserRange(Qt::Horizontal, QCPRange(xAxis->pixelToCoord(chosen.left()),
                                              xAxis->pixelToCoord(chosen.right())));
    }
    if (from.axes.left && chosen.height() > kClickSlopPx) {
        SetUserRange(Qt::Vertical, QCPRange(yAxis->pixelToCoord(chosen.bottom()),
                                            yAxis->pixelToCoord(chosen.top())));
    }
}

QRegion ChartWidget::RefreshReadout(QPointF pos) {
    const bool inside = QRectF(axisRect()->rect()).contains(pos);
    const std::optional<ChartReadout> answer =
        inside && readoutAt ? readoutAt(pos) : std::optional<ChartReadout>();
    return answer ? readout->Show(*this, *answer, pos) : readout->Hide();
}

void ChartWidget::UpdateReadout(QPointF pos) {
    const QRegion changed = RefreshReadout(pos);
    if (!changed.isEmpty()) {
        update(changed);
    }
}

void ChartWidget::HideReadout() {
    const QRegion changed = readout->Hide();
    if (!changed.isEmpty()) {
        update(changed);
    }
}

std::optional<ChartReadout> ChartWidget::ShownReadout() const {
    return readout->Shown();
}

void ChartWidget::leaveEvent(QEvent* event) {
    QCustomPlot::leaveEvent(event);
    HideReadout();
}

void ChartWidget::paintEvent(QPaintEvent* event) {
    QCustomPlot::paintEvent(event);
    if (readout->Shown()) {
        QPainter painter(this);
        readout->Paint(painter, *this);
    }
}
