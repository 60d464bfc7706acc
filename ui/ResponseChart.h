// The spectrum chart: the spectrum of the whole record and, in red on the live layer, the
// spectrum at the selected instant, each joined in period-grid order; rings mark the period
// the oscillator inspector shows.
#pragma once

#include <cstddef>
#include <optional>
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

    // Clears series and hides its ring.
    void Clear(QCPAbstractPlottable* series) override;

    // Rings point k of both spectra (the period the inspector shows), or none; the rings
    // follow the spectra's points as they are drawn. A k past a spectrum's points shows no
    // ring on it.
    void MarkPoint(std::optional<std::size_t> k);
    std::optional<std::size_t> MarkedPoint() const { return marked; }
    QCPItemTracer* WholeRecordMark() const { return wholeMark; }  // on the main layer
    QCPItemTracer* AtInstantMark() const { return instantMark; }  // on the live layer

  private:
    // Puts mark on point marked of series, or hides it; true when it changed.
    bool PlaceMark(QCPItemTracer* mark, const QCPCurve* series);

    QCPCurve* whole;
    QCPCurve* atInstant;
    QCPItemTracer* wholeMark;
    QCPItemTracer* instantMark;
    std::optional<std::size_t> marked;
};
