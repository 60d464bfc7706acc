// The record chart: the highlighted record and, in red on the live layer, the analysed record
// up to the selected instant. Sample i is drawn at i * timeStep (s), its value in g.
#pragma once

#include <cstddef>
#include <span>

#include "ui/ChartWidget.h"

// The record chart's look: white, light grid, the window's font; the legend behind the traces
// so they stay readable over it. The inspector's chart looks the same.
ChartLook RecordChartLook();

class RecordChart : public ChartWidget {
    Q_OBJECT

  public:
    explicit RecordChart(QWidget* parent);

    QCPGraph* WholeRecord() const { return whole; }  // width 3
    QCPGraph* Trace() const { return trace; }        // red, width 1

    // Draws every sample of accG (g) in the whole-record series at i * timeStepS (s).
    void ShowRecord(std::span<const double> accG, double timeStepS);

    // Draws samples 0 .. sampleCount - 1 of accG (g) in the trace at i * timeStepS (s). When
    // accG and timeStepS are those of the last call, only the difference is added (the
    // instant moved on) or removed (it moved back), so a playback step costs the samples it
    // adds, not the whole trace.
    void ShowTrace(std::span<const double> accG, double timeStepS, std::size_t sampleCount);

    void Clear(QCPAbstractPlottable* series) override;

  protected:
    // Draws the trace's segments added since the live layer was last drawn, when they are few
    // (a playback step adds one): the same line segments a full drawing of the trace makes.
    bool DrawLiveTail(QCPPainter* painter) override;
    void LiveLayerUpToDate() override;

  private:
    // The samples the trace shows: samples 0 .. shown - 1 of the record at [data, data + size).
    struct TraceSource {
        const double* data = nullptr;
        std::size_t size = 0;
        double timeStepS = 0.0;
        std::size_t shown = 0;
    };

    bool GrowOrShrinkTrace(std::span<const double> accG, double timeStepS, std::size_t sampleCount);

    QCPGraph* whole;
    QCPGraph* trace;
    TraceSource source;
    DataBounds traceBounds;
    int tracePointsDrawn = 0;  // trace points the live layer's buffer shows
};
