// The inspector's chart: the oscillator's relative displacement over the whole record, the
// running maximum of the chosen quantity for its period, rings at the peaks of |x|, |v| and
// |absolute acceleration| on the displacement curve, and on the live layer a vertical line
// at the selected instant with a dot where the oscillator is then.
#pragma once

#include <QRegion>
#include <optional>
#include <span>

#include "engine/OscillatorHistory.h"
#include "ui/ChartWidget.h"
#include "ui/OscillatorText.h"

class OscillatorChart : public ChartWidget {
    Q_OBJECT

  public:
    explicit OscillatorChart(QWidget* parent);

    QCPGraph* Motion() const { return motion; }          // x (cm) against time (s)
    QCPGraph* RunningMax() const { return runningMax; }  // left axis (cm) or right axis
    QCPItemStraightLine* InstantLine() const { return instantLine; }
    QCPItemTracer* InstantDot() const { return instantDot; }
    // The rings of the peaks of |x|, |v| and |absolute acceleration|, in that order.
    QCPItemTracer* PeakMark(int which) const { return peakMarks[which]; }

    // Draws x at every point of history and rings its three peaks on the curve.
    void ShowMotion(const OscillatorHistory& history);

    // Draws the running maximum, value J-1 at J * timeStepS (s): beside x on the left axis
    // for a quantity in cm, on a right axis of its own otherwise.
    void ShowRunningMaximum(const RunningMaximum& maximum, double timeStepS);

    // Moves the instant line and the dot on x to timeS and paints the change now: the live
    // layer alone.
    void ShowInstant(double timeS);
    double InstantTime() const { return instantTimeS; }

  private:
    // Where the instant line and its dot are drawn (widget pixels, to the raster's 1/64 px).
    struct InstantPixels {
        qint64 lineX64 = 0;
        qint64 dotX64 = 0;
        qint64 dotY64 = 0;
        bool dotShown = false;
        bool operator==(const InstantPixels&) const = default;
    };
    // Where the instant is drawn now; none when it lies off any drawable pixel.
    std::optional<InstantPixels> PixelsOfInstant();
    // The pixels that change when the instant moves from before to after: the line's strips
    // when the line moves, else only the dot's boxes.
    QRegion ChangedPixels(const InstantPixels& before, const InstantPixels& after) const;
    // Moves the instant on the live layer's buffer as it stands: clears the changed pixels,
    // draws line and dot into them and paints only them. False, having drawn nothing, when
    // only a redraw of the whole layer is sure to be right.
    bool MoveInstantOnBuffer(const InstantPixels& before);
    void SetUpRightAxis();
    void ApplyRightRange(std::span<const double> values);

    QCPGraph* motion;
    QCPGraph* runningMax;
    QCPItemStraightLine* instantLine;
    QCPItemTracer* instantDot;
    QCPItemTracer* peakMarks[3];
    QCPItemText* peakLabels[3];
    double instantTimeS = 0.0;
};
