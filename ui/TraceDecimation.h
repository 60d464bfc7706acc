// Long record traces drawn with at most a few points per pixel column, the full list kept.
#pragma once

#include <QList>
#include <QPointF>

class QLineSeries;

// The points to draw for a polyline at screen resolution. Consecutive points whose x falls
// in the same column (columns columnWidth wide in x units, from x = 0) are reduced to the
// first, the lowest, the highest and the last of them, in their original order, so every
// local extreme of each column stays and the drawn line covers the same pixels. Order and
// direction of x are free (a record with a negative or zero time step works too). A
// columnWidth not above 0 or not finite returns the points unchanged.
QList<QPointF> DecimateTrace(const QList<QPointF>& points, double columnWidth);

// Sets series to draw points (time in s, acceleration in g) through SetSeriesPoints,
// decimated to two columns per pixel of its chart's plot area, so that a window stretched to
// twice its width still draws at least one column per pixel. A series not in a laid-out
// chart, or with fewer points than columns, gets the points as they are. TracePoints gives
// the full list back.
void SetTracePoints(QLineSeries* series, const QList<QPointF>& points);

// The full-resolution points last given to SetTracePoints for series (its drawn points when
// it never got any).
QList<QPointF> TracePoints(const QLineSeries* series);
