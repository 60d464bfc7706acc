// Markers over the charts' series.
#include "ui/ChartMarks.h"

void SetUpMark(QCPItemTracer* tracer, QCPLayer* layer, QCPItemTracer::TracerStyle style,
               double sizePx, const QColor& colour, bool filled) {
    tracer->setLayer(layer);
    tracer->setStyle(style);
    tracer->setSize(sizePx);
    tracer->setPen(QPen(colour, 2));
    tracer->setBrush(filled ? QBrush(colour) : QBrush(Qt::NoBrush));
    tracer->setSelectable(false);
    tracer->setInterpolating(false);
    tracer->setVisible(false);
}
