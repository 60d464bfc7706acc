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

QSize EdgeAnchors::MinimumContainerSize(int marginPx) const {
    QSize minimum(0, 0);
    const auto reach = [&](int right, int bottom) {
        minimum = minimum.expandedTo(QSize(right + marginPx, bottom + marginPx));
    };
    for (const QWidget* child : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isHidden()) {
            continue;
        }
        const auto anchor = std::find_if(anchors.begin(), anchors.end(),
                                         [child](const Anchor& a) { return a.widget == child; });
        if (anchor == anchors.end()) {
            reach(child->geometry().right() + 1, child->geometry().bottom() + 1);
            continue;
        }
        const QRect design = anchor->design;
        reach(anchor->stretchWidth ? design.left() + kMinStretchedPx : design.right() + 1,
              anchor->stretchHeight ? design.top() + kMinStretchedPx : design.bottom() + 1);
    }
    return minimum;
}
