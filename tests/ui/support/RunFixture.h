// Helpers of the run, spectrum and playback tests: a shown window with one record
// highlighted, the parameters, the user's choices in drop-down lists and expected points.
#pragma once

#include <QList>
#include <QPointF>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <cstddef>
#include <memory>
#include <span>
#include <vector>

#include "support/ChartProbe.h"
#include "support/UiTestSupport.h"

class QComboBox;
class TForm1;

// A deterministic accelerogram (g): two sines under a rise-and-decay envelope, so that
// the running spectra grow over the record and settle.
std::vector<double> RunTestQuake(int sampleCount, double timeStepS);

// The window of one test, with the modal texts captured and a folder for record files.
class RunWindow {
  public:
    RunWindow();
    ~RunWindow();
    RunWindow(const RunWindow&) = delete;
    RunWindow& operator=(const RunWindow&) = delete;

    // Writes a record file (samples in g, timeStepS in s), imports it through "Import
    // Data" and clicks it in the record list.
    void LoadRecord(const QString& name, const std::vector<double>& samples, double timeStepS);
    // Puts a record straight into records and lst1 (records no file can hold, such as one
    // without samples), then clicks it.
    void LoadRecordInMemory(const QString& name, const std::vector<double>& samples,
                            double timeStepS);
    // Types the four parameters: minimum and maximum period, period step, damping ratio.
    void SetParameters(const QString& minPeriod, const QString& maxPeriod,
                       const QString& periodStep, const QString& dampingRatio);
    // Clicks "Run Analysis" as the user does (errors reach the captured display).
    void ClickRun();
    // Runs the analysis as an event delivered by the event loop, so that an error it raises
    // reaches the captured display through the application's notify(). For runs that throw:
    // an exception unwinding through the button's own click code, which Qt builds without
    // exception support, skips that code's cleanup and leaks what it allocated.
    void RunFromEventLoop();

    ModalCapture capture;
    QTemporaryDir folder;
    std::unique_ptr<TForm1> form;
};

// The user's choice of item index in a drop-down list: the index moves and activated fires.
void ChooseItem(QComboBox* list, int index);

// The points (x[k], y[k]) for k in order, k below the shorter length; x and y are grids or
// result rows (anything with data() and size()).
template <class X, class Y>
QList<QPointF> ZipPoints(const X& x, const Y& y) {
    QList<QPointF> points;
    const std::size_t count = std::min<std::size_t>(x.size(), y.size());
    for (std::size_t k = 0; k < count; ++k) {
        points.append(QPointF(x.data()[k], y.data()[k]));
    }
    return points;
}
