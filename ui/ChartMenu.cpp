// A chart's context menu and its copies: the owner's data as tab-separated text and the chart
// as a picture go to the clipboard; nothing is written to disk.
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPixmap>

#include "ui/ChartWidget.h"

void ChartWidget::FillMenu(QMenu& menu, QPointF pixelPos) {
    QAction* copyData = menu.addAction(tr("Copy data"), this, &ChartWidget::CopyData);
    copyData->setShortcut(QKeySequence::Copy);
    copyData->setEnabled(static_cast<bool>(dataText));
    if (addMenuEntries) {
        addMenuEntries(menu, pixelPos);
    }
    menu.addAction(tr("Copy image"), this, &ChartWidget::CopyImage);
    menu.addSeparator();
    for (const Qt::Orientation orientation : {Qt::Horizontal, Qt::Vertical}) {
        QAction* log = menu.addAction(tr("Logarithmic %1 axis").arg(AxisWord(orientation)));
        log->setCheckable(true);
        log->setChecked(IsLogarithmic(orientation));
        connect(log, &QAction::toggled, this,
                [this, orientation](bool on) { SetLogarithmic(orientation, on); });
    }
    menu.addSeparator();
    QAction* automatic = menu.addAction(tr("Automatic range (double click)"), this, [this] {
        ResetZoom();
        PaintChanges();
    });
    automatic->setEnabled(Zoomed());
}

void ChartWidget::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    FillMenu(menu, event->pos());
    if (showMenu) {
        showMenu(menu, event->globalPos());
    } else {
        menu.exec(event->globalPos());
    }
    event->accept();
}

void ChartWidget::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        CopyData();
        event->accept();
        return;
    }
    QCustomPlot::keyPressEvent(event);
}

void ChartWidget::CopyData() const {
    const QString text = dataText ? dataText() : QString();
    if (!text.isEmpty()) {
        QGuiApplication::clipboard()->setText(text);
    }
}

void ChartWidget::CopyImage() {
    // Drawn afresh at the screen's density (not grabbed from the widget), so the read-out and a
    // zoom box stay out of the picture.
    const double ratio = devicePixelRatioF();
    QImage image = toPixmap(width(), height(), ratio).toImage();
    image.setDevicePixelRatio(ratio);
    QGuiApplication::clipboard()->setImage(image);
}
