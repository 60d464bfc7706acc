// Stretches chosen controls with their container: width follows the right edge, height
// the bottom edge; every other control keeps its designed place and size.
#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <vector>

class EdgeAnchors : public QObject {
  public:
    // container: the widget whose size drives the stretching; designSize: its size (px)
    // in the design, the size at which every control has its designed geometry.
    EdgeAnchors(QWidget* container, QSize designSize);

    // Anchors widget with its current geometry (px) as the design geometry.
    void Add(QWidget* widget, bool stretchWidth, bool stretchHeight);

    // The smallest container size (px) at which every shown child control lies wholly
    // inside it, marginPx from the right and bottom edges: fixed controls at their place
    // and size, stretched ones at their smallest size.
    QSize MinimumContainerSize(int marginPx) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Anchor {
        QPointer<QWidget> widget;
        QRect design;
        bool stretchWidth;
        bool stretchHeight;
    };
    void Apply();

    QWidget* container;
    QSize designSize;
    std::vector<Anchor> anchors;
};
