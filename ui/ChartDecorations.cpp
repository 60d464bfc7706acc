// The chart's rounded background and its legend entries.
#include "ui/ChartDecorations.h"

#include <QFontMetrics>
#include <algorithm>

namespace {

constexpr double kFrameRadiusPx = 5.0;
constexpr int kMarkerTextGapPx = 6;

}  // namespace

ChartFrame::ChartFrame(QCustomPlot* plot, const QBrush& brush)
    : QCPLayerable(plot, QStringLiteral("background")), brush(brush) {
    moveToLayer(layer(), true);  // below the plot area's own background
}

void ChartFrame::applyDefaultAntialiasingHint(QCPPainter* painter) const {
    applyAntialiasingHint(painter, true, QCP::aeOther);
}

void ChartFrame::draw(QCPPainter* painter) {
    const QRectF area = QRectF(mParentPlot->viewport())
                            .adjusted(kChartFrameInsetPx, kChartFrameInsetPx, -kChartFrameInsetPx,
                                      -kChartFrameInsetPx);
    painter->setPen(Qt::NoPen);
    painter->setBrush(brush);
    painter->drawRoundedRect(area, kFrameRadiusPx, kFrameRadiusPx);
}

void LegendEntryItem::draw(QCPPainter* painter) {
    const QColor colour = textColor();
    const QRect marker(mRect.left(), mRect.top() + (mRect.height() - kLegendMarkerPx) / 2,
                       kLegendMarkerPx, kLegendMarkerPx);
    painter->fillRect(marker, colour);
    painter->setFont(font());
    painter->setPen(colour);
    const QRect text = mRect.adjusted(kLegendMarkerPx + kMarkerTextGapPx, 0, 0, 0);
    painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip,
                      mPlottable->name());
}

QSize LegendEntryItem::minimumOuterSizeHint() const {
    const QFontMetrics metrics(font());
    const QSize text = metrics.size(Qt::TextSingleLine, mPlottable->name());
    return QSize(
        kLegendMarkerPx + kMarkerTextGapPx + text.width() + mMargins.left() + mMargins.right(),
        std::max(text.height(), kLegendMarkerPx) + mMargins.top() + mMargins.bottom());
}
