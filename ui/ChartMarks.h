// Marks the charts draw over their series: a tracer set up as a marker that ignores clicks.
#pragma once

#include <qcustomplot.h>

// Gives tracer the look of a marker on layer: style, size (px), a 2 px pen in colour and,
// when filled, a brush of it; hidden until placed, and not selectable.
void SetUpMark(QCPItemTracer* tracer, QCPLayer* layer, QCPItemTracer::TracerStyle style,
               double sizePx, const QColor& colour, bool filled);
