// The charts as a test reads them: series found by objectName among the plottables of both
// charts, their points in the order each series keeps them, titles, draws and paints.
#pragma once

#include <QList>
#include <QObject>
#include <QPointF>
#include <QString>

class ChartWidget;
class QCPAbstractPlottable;
class QWidget;
class TForm1;

// The plottable of cht1 or cht2 whose objectName is name; aborts the test when there is none.
QCPAbstractPlottable* FindSeries(const TForm1* form, const char* name);

// The points of a series: a graph's by ascending x (as it keeps them), a curve's in the order
// they were added.
QList<QPointF> Points(const TForm1* form, const char* name);
int PointCount(const TForm1* form, const char* name);
// The legend title of a series.
QString Title(const TForm1* form, const char* name);
// Whether the series is shown (not hidden through its legend entry).
bool IsShown(const TForm1* form, const char* name);
// Appends the point (x, y) to a series directly, as leftovers of an earlier state.
void AddPoint(const TForm1* form, const char* name, double x, double y);

// Opens chart's context menu over the plot area and triggers its enabled entry whose text is
// text; fails the test when there is none.
void TriggerMenuEntry(ChartWidget* chart, const QString& text);

// Clicks the legend entry of series in its chart as the user does.
void ClickLegendEntry(ChartWidget* chart, QCPAbstractPlottable* series);

// Counts the draws of a series: each time it gets new points and holds at least one.
class RedrawCounter : public QObject {
  public:
    RedrawCounter(const TForm1* form, const char* name);
    int count = 0;
};

// Counts the paint events of a widget.
class PaintCounter : public QObject {
  public:
    explicit PaintCounter(QWidget* widget);
    int paints = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
