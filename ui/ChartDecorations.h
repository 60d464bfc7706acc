// What the charts draw besides their series and axes: the rounded chart background inside the
// widget's margin, and legend entries with a square marker in the series' colour.
#pragma once

#include <qcustomplot.h>

#include <QBrush>

// The rounded background lies this far inside the widget (px); legend markers are squares of
// this side (px).
constexpr int kChartFrameInsetPx = 9;
constexpr int kLegendMarkerPx = 8;

// The chart's rounded background inside the widget's margin (which shows the window colour,
// filled by the widget), drawn first on the plot's bottom layer.
class ChartFrame : public QCPLayerable {
  public:
    ChartFrame(QCustomPlot* plot, const QBrush& brush);

  protected:
    void applyDefaultAntialiasingHint(QCPPainter* painter) const override;
    void draw(QCPPainter* painter) override;

  private:
    QBrush brush;
};

// A legend entry: a square marker and the series' title, both in the entry's text colour (the
// series' colour, dimmed while the series is hidden).
class LegendEntryItem : public QCPPlottableLegendItem {
  public:
    using QCPPlottableLegendItem::QCPPlottableLegendItem;

  protected:
    void draw(QCPPainter* painter) override;
    QSize minimumOuterSizeHint() const override;
};
