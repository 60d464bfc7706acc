// Anchored stretching of controls inside an absolutely positioned container.
#include "ui/EdgeAnchors.h"

#include <QEvent>
#include <algorithm>

namespace {
// Smallest width and height (px) a stretched control shrinks to in a small window.
constexpr int kMinStretchedPx = 40;
}  // namespace

EdgeAnchors::EdgeAnchors(QWidget* container, QSize designSize)
    : QObject(container), container(container), designSize(designSize) {
    container->installEventFilter(this);
}

void EdgeAnchors::Add(QWidget* widget, bool stretchWidth, bool stretchHeight) {
    anchors.push_back({widget, widget->geometry(), stretchWidth, stretchHeight});
    Apply();
}

bool EdgeAnchors::eventFilter(QObject* watched, QEvent* event) {
    if (watched == container && event->type() == QEvent::Resize) {
        Apply();
    }
    return QObject::eventFilter(watched, event);
}

void EdgeAnchors::Apply() {
    const int growWidthPx = container->width() - designSize.width();
    const int growHeightPx = container->height() - designSize.height();
    for (const Anchor& anchor : anchors) {
        if (anchor.widget.isNull()) {
            continue;
        }
        QRect geometry = anchor.design;
        if (anchor.stretchWidth) {
            geometry.setWidth(std::max(kMinStretchedPx, anchor.design.width() + growWidthPx));
        }
        if (anchor.stretchHeight) {
            geometry.setHeight(std::max(kMinStretchedPx, anchor.design.height() + growHeightPx));
        }
        anchor.widget->setGeometry(geometry);
    }
}
