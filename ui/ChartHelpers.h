// Chart setup for the record and spectrum charts, and the one way series get new points.
#pragma once

#include <QList>
#include <QPointF>
#include <QString>

#include "plot/NiceRange.h"

class QChart;
class QLineSeries;
class QValueAxis;

// Record chart: lnsrsSeries1 (width 3) and lnsrsSeries2 (red, width 1) titled "Time=",
// axes "Time (s)" and "Acc. (g)", both scaled from the data, toggling legend in the plot.
void SetupRecordChart(QChart* chart, QLineSeries* whole, QLineSeries* toInstant);

// Spectrum chart: lnsrsSeries3 (width 3) and lnsrsSeries4 (red, width 1) titled "Time=",
// axes "Period (s)" and "Disp (cm)", left axis from 0, grey gradient look, Verdana texts.
void SetupSpectrumChart(QChart* chart, QLineSeries* whole, QLineSeries* atInstant);

// Replaces all points of series with points in one replace() call, then rescales its
// chart's axes from the data of the visible series (left axis from 0 on the spectrum
// chart). Points keep the given order.
void SetSeriesPoints(QLineSeries* series, const QList<QPointF>& points);

// Removes every point of series and rescales its chart.
void ClearSeries(QLineSeries* series);

// Sets both value axes of chart to nice ranges around the points of its visible series;
// with leftFromZero the left axis starts at 0. Without data the axes show 0 to 1.
void RescaleAxes(QChart* chart, bool leftFromZero);

// The chart's bottom and left value axes (nullptr when the chart has none).
QValueAxis* BottomAxis(QChart* chart);
QValueAxis* LeftAxis(QChart* chart);
