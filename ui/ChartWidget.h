// A chart on QCustomPlot that repaints only what changed: the series that follows the selected
// instant and the legend sit on buffered layers of their own, so a new instant redraws those two
// alone; new axis ranges, a shown or hidden series, a new size or new data on the other layers
// replot everything. Every paint is synchronous and happens once per PaintChanges().
// What a user does with a chart: wheel zoom about the pointer, dragging pans, Shift + drag zooms
// to a box, a double click returns to the automatic range; a context menu with logarithmic axes
// and copies of the data and the picture; a read-out of the point under the pointer.
#pragma once

#include <qcustomplot.h>

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QMenu>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "plot/DataBounds.h"

class ChartReadoutOverlay;
class QRubberBand;

// The look of a chart: fonts, colours and the backgrounds of the chart and of its plot area.
struct ChartLook {
    QFont tickLabelFont;
    QFont axisTitleFont;
    QFont legendFont;
    QColor textColour;
    QColor axisLineColour;
    QColor gridColour;
    QBrush chartBrush;     // the rounded chart background inside the widget's margin
    QBrush plotAreaBrush;  // the plot area behind the grid
    bool legendBehindSeries = false;
};

// What the read-out shows for the pointer: the data point the tracer marks (plot coordinates)
// and the label's text, one line per '\n'.
struct ChartReadout {
    QPointF point;
    QString text;
};

class ChartWidget : public QCustomPlot {
    Q_OBJECT

  public:
    // leftFromZero: the left axis keeps its minimum at 0 (its maximum still follows the data).
    ChartWidget(QWidget* parent, const ChartLook& look, bool leftFromZero);

    ~ChartWidget() override;

    // Paints now what changed since the last paint, with one synchronous paint of the widget:
    // the live layers alone when only they changed, a full replot otherwise. Nothing when
    // nothing changed; a hidden chart is brought up to date when it is shown.
    void PaintChanges();

    // Removes every point of series; the legend keeps its title.
    virtual void Clear(QCPAbstractPlottable* series);

    // Sets the title of series shown in the legend (its name()).
    void SetTitle(QCPAbstractPlottable* series, const QString& title);

    // Sets the title of the bottom (Qt::Horizontal) or left (Qt::Vertical) axis.
    void SetAxisTitle(Qt::Orientation orientation, const QString& title);

    // Shows a hidden series or hides a shown one, as a click on its legend entry does; the
    // entry stays and is dimmed while the series is hidden.
    void ToggleSeries(QCPAbstractPlottable* series);

    // The legend entry of series.
    QCPPlottableLegendItem* LegendEntry(const QCPAbstractPlottable* series) const;

    // The logical width in px a series was given; its pen carries it in device pixels.
    double LineWidthPx(const QCPAbstractPlottable* series) const;

    // The buffered layer of the series that follows the selected instant.
    QCPLayer* LiveLayer() const { return liveLayer; }

    const ChartLook& Look() const { return look; }

    // Filled by whoever shows data in the chart (the main window, the inspector); an unset
    // function, or an empty answer, shows or copies nothing.
    // The read-out for the pointer at pixelPos (widget pixels): asked when the pointer moves
    // and when the live series change under a still pointer.
    std::function<std::optional<ChartReadout>(QPointF pixelPos)> readoutAt;
    // "Copy data": tab-separated text with a header block, ready for a spreadsheet.
    std::function<QString()> dataText;
    // Entries of this chart's own for its context menu, opened at pixelPos (widget pixels).
    std::function<void(QMenu& menu, QPointF pixelPos)> addMenuEntries;

    // The word the logarithmic-axis toggles use for an axis ("time", "period", "frequency",
    // "displacement" for the bottom axis; "value" for the left one).
    void SetAxisWord(Qt::Orientation orientation, const QString& word);
    QString AxisWord(Qt::Orientation orientation) const;

    // Zoom. A range the user set (wheel, drag, box) stays while the data changes under it, on
    // each axis separately, until ResetZoom returns both axes to the automatic range.
    void SetUserRange(Qt::Orientation orientation, const QCPRange& range);
    bool Zoomed() const { return bottomAxis.userRange || leftAxis.userRange; }
    void ResetZoom();

    // Logarithmic axes: only positive values count for the automatic range. Switching returns
    // that axis to its automatic range.
    void SetLogarithmic(Qt::Orientation orientation, bool logarithmic);
    bool IsLogarithmic(Qt::Orientation orientation) const;

    // "Copy data": dataText's text onto the clipboard (nothing when it has none).
    void CopyData() const;
    // "Copy image": the chart as a picture of device pixels (its size times the screen's ratio).
    void CopyImage();

    // The context menu's entries for the pointer at pixelPos: copies, the owner's entries,
    // logarithmic axes and the automatic range.
    void FillMenu(QMenu& menu, QPointF pixelPos);
    // Opens the filled menu at globalPos; tests replace it to pick an entry without a modal loop.
    std::function<void(QMenu& menu, QPoint globalPos)> showMenu;

    // The read-out shown now (the owner's answer for the pointer); nothing when hidden.
    std::optional<ChartReadout> ShownReadout() const;

  signals:
    // A left click on the plot that neither dragged nor toggled a legend entry, at pixelPos
    // (widget pixels).
    void plotClicked(QPointF pixelPos);

    // A series got new points (a draw that leaves it with at least one point).
    void seriesDrawn(QCPAbstractPlottable* series);

  protected:
    // Adds a series with its legend entry titled "Time=", in colour with a line widthPx wide
    // (logical px), on the live layer or on the main layer.
    QCPGraph* AddGraph(const QColor& colour, double widthPx, bool live);
    QCPCurve* AddCurve(const QColor& colour, double widthPx, bool live);

    // How a series on the live layer changed: anyhow, or only by points added at its end
    // (which can be drawn onto what the layer shows, see DrawLiveTail).
    enum class LiveChange { Redraw, GrewAtEnd };

    // Records that series shows new points with the given bounds (changed: its points differ
    // from before; a series on the main layer then needs a full replot). Rescales the axes.
    void SeriesDrawn(QCPAbstractPlottable* series, const DataBounds& bounds, bool changed,
                     LiveChange liveChange = LiveChange::Redraw);

    // Draws onto the live layer's buffer, as it stands, what its series gained at their ends
    // since the buffer was last brought up to date; painter is set up for the buffer in plot
    // coordinates. Returns false, having drawn nothing, when redrawing the layer is better.
    virtual bool DrawLiveTail(QCPPainter* painter);
    // The live layer's buffer now shows its series as they are.
    virtual void LiveLayerUpToDate() {}

    // Items of the subclass (markers, lines) on layer moved or changed: the next paint
    // redraws that layer, the live layer alone when it is the live one.
    void ItemsChanged(const QCPLayer* layer);
    // The live layer's paint buffer, for drawing into it directly; null when the order of the
    // plot's buffers is not the one counted.
    QCPAbstractPaintBuffer* LiveBuffer() const { return PaintBufferOf(liveLayer); }
    // A further axis of the subclass (the right one) with the look and ticks of the others;
    // its range is the subclass's to set, with ApplyAxisRange.
    void SetUpExtraAxis(QCPAxis* axis) { SetUpAxis(axis, extraAxis); }
    void ApplyAxisRange(QCPAxis* axis, const NiceRange& range);

    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    struct Series {
        QCPAbstractPlottable* plottable;
        QColor colour;
        double widthPx;
        DataBounds bounds;
    };
    // What a paint must bring up to date.
    struct Pending {
        bool full = false;
        bool live = false;
        bool liveTail = false;  // the live series only grew at their ends
        bool legend = false;
        bool legendLayout = false;
    };

    // How one axis shows its range: linear or logarithmic, automatic or as the user set it.
    struct AxisState {
        bool logarithmic = false;
        bool userRange = false;
        QSharedPointer<QCPAxisTicker> linearTicker;
        QSharedPointer<QCPAxisTicker> logTicker;
    };
    // Which axes a pointer gesture acts on: both over the plot area, one over its axis.
    struct GestureAxes {
        bool bottom = false;
        bool left = false;
    };
    // A left-button gesture from its press: a pan, or with Shift a zoom box.
    struct Drag {
        QPointF from;
        QCPRange bottomFrom;
        QCPRange leftFrom;
        GestureAxes axes;
        bool box = false;
        bool moved = false;  // left the click slop: no click any more
    };

    void SetUpLayers();
    void SetUpAxis(QCPAxis* axis, AxisState& state);
    void SetUpLegend();
    void Register(QCPAbstractPlottable* plottable, const QColor& colour, double widthPx, bool live);
    Series* Find(const QCPAbstractPlottable* plottable);
    const Series* Find(const QCPAbstractPlottable* plottable) const;
    void MarkLayerOf(const QCPAbstractPlottable* plottable);
    void Rescale();
    void ApplyRanges();
    void ApplyTicks(QCPAxis* axis, const AxisState& state, const NiceRange& range);
    void FitRightMargin();
    QCPAxis* AxisOf(Qt::Orientation orientation) const;
    AxisState& StateOf(Qt::Orientation orientation);
    const AxisState& StateOf(Qt::Orientation orientation) const;
    GestureAxes AxesAt(QPointF pos) const;
    void PanTo(const Drag& drag, QPointF pos);
    void ShowBox(const Drag& drag, QPointF pos);
    void ZoomToBox(const Drag& drag, QPointF pos);
    // Asks the owner for the read-out at pos and keeps the answer; returns the area to repaint.
    QRegion RefreshReadout(QPointF pos);
    void UpdateReadout(QPointF pos);
    void HideReadout();
    void ApplyScreenRatio();
    void PaintLater();
    QCPPlottableLegendItem* LegendEntryAt(const QPointF& pos) const;
    QCPAbstractPaintBuffer* PaintBufferOf(const QCPLayer* layer) const;
    bool DrawOnLiveBuffer();

    ChartLook look;
    bool leftFromZero;
    QCPLayer* liveLayer = nullptr;
    QCPLayer* legendLayer = nullptr;
    std::vector<Series> series;
    AxisRanges appliedRanges;
    Pending pending;
    bool paintQueued = false;
    QCPPlottableLegendItem* pressedEntry = nullptr;
    std::optional<QPointF> pressedAt;  // where a left press that may become a click began
    // A click is reported once no second click follows within the double-click interval, so
    // that a double click (back to the automatic range) is not also a click.
    QTimer* clickDelay = nullptr;
    QPointF clickedAt;
    std::optional<Drag> drag;
    QRubberBand* box = nullptr;
    AxisState bottomAxis;
    AxisState leftAxis;
    AxisState extraAxis;  // a subclass's further axis: linear, ranged by the subclass
    std::unique_ptr<ChartReadoutOverlay> readout;
    QString bottomWord = QStringLiteral("time");
    QString leftWord = QStringLiteral("value");
};

// Removes every point of a series of a ChartWidget ("Clear" of the series).
void ClearSeries(QCPAbstractPlottable* series);
