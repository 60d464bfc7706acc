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
