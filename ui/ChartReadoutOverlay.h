// The read-out over a chart: a tracer on the data point the owner named for the pointer and a
// small label with its numbers. Painted by the widget's own paint over the plot's buffers rather
// than on a layer of the plot, so a chart without the pointer over it paints nothing more, and a
// moving pointer repaints only the read-out's old and new places.
#pragma once

#include <QFont>
#include <QPointF>
#include <QRect>
#include <QRegion>
#include <optional>

#include "ui/ChartWidget.h"

class QPainter;

class ChartReadoutOverlay {
  public:
    explicit ChartReadoutOverlay(const QFont& font) : font(font) {}

    // Shows readout for the pointer at pointer (widget pixels) over plot; returns the area to
    // repaint: where the read-out was and where it is now.
    QRegion Show(const QCustomPlot& plot, const ChartReadout& readout, QPointF pointer);
    // Hides the read-out; returns the area it covered.
    QRegion Hide();

    const std::optional<ChartReadout>& Shown() const { return shown; }
    QPointF Pointer() const { return pointer; }

    // Paints the tracer and the label, when shown, over what painter has drawn.
    void Paint(QPainter& painter, const QCustomPlot& plot) const;

  private:
    // The tracer's place in widget pixels; nothing when the point lies outside the plot area.
    std::optional<QPointF> TracerAt(const QCustomPlot& plot) const;
    QRect LabelRect(const QCustomPlot& plot) const;
    // Everything Paint touches, for the repaint of a change.
    QRect Covered(const QCustomPlot& plot) const;

    QFont font;
    std::optional<ChartReadout> shown;
    QPointF pointer;
    QRect covered;
};
