// The spectrum chart: the spectrum of the whole record and, in red on the live layer, the
// spectrum at the selected instant, each joined in period-grid order.
#pragma once

#include <span>

#include "ui/ChartWidget.h"

class ResponseChart : public ChartWidget {
    Q_OBJECT

  public:
    explicit ResponseChart(QWidget* parent);

    QCPCurve* WholeRecord() const { return whole; }    // width 3
    QCPCurve* AtInstant() const { return atInstant; }  // red, width 1

    // Draws the points (x[k], y[k]) for k below the shorter length in series, joined in the
    // order of k whatever their x (a curve, not a graph sorted by x).
    void ShowSpectrum(QCPCurve* series, std::span<const double> x, std::span<const double> y);

  private:
    QCPCurve* whole;
    QCPCurve* atInstant;
};
