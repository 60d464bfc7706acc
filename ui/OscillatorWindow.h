// The oscillator inspector: a non-modal tool window beside the main window that shows one
// period of the run over the whole record (displacement, running maximum of the chosen
// quantity, the peaks and their instants) in step with the selected instant.
#pragma once

#include <QPointF>
#include <QWidget>
#include <optional>

#include "ui/ChartWidget.h"
#include "ui/OscillatorText.h"

class OscillatorChart;
class QLabel;

class OscillatorWindow : public QWidget {
    Q_OBJECT

  public:
    // A tool window of parent (it stays above it and goes with it); deleted when closed.
    explicit OscillatorWindow(QWidget* parent);

    // Shows oscillator: the title, the peaks with their instants and the displacement.
    void ShowOscillator(InspectedOscillator oscillator, char decimalSeparator);
    // Shows the running maximum of a quantity for the period and its whole-record value.
    void ShowRunningMaximum(RunningMaximum maximum);
    // Moves the instant line to timeS (s) and paints it now.
    void ShowInstant(double timeS);

    const InspectedOscillator& Oscillator() const { return oscillator; }
    const RunningMaximum& Maximum() const { return maximum; }
    OscillatorChart* Chart() const { return chart; }

    // The read-out for the pointer at pixelPos of the chart: the displacement point nearest
    // in time, with its x and the running maximum then.
    std::optional<ChartReadout> ReadoutAt(QPointF pixelPos) const;

  signals:
    // The window is closing (by the user or the main window): its period is no longer shown.
    void closing();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    InspectedOscillator oscillator;
    RunningMaximum maximum{};
    char separator = '.';
    QLabel* peakLabels[3];
    QLabel* wholeLabel;
    OscillatorChart* chart;
};
