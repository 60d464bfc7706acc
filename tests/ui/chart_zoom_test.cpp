// Zoom, pan and the automatic range of both charts as the user drives them with the mouse, the
// ranges kept through playback and dropped by the clearing paths, and logarithmic axes over
// spectra that are still zero.
#include <QComboBox>
#include <QMenu>
#include <QSignalSpy>
#include <QSlider>
#include <QWheelEvent>
#include <QtTest>

#include "plot/LogRange.h"
#include "support/RunFixture.h"
#include "ui/RecordChart.h"
#include "ui/ResponseChart.h"
#include "ui/Unit1.h"

namespace {

constexpr double kTimeStepS = 0.01;
constexpr int kSamples = 201;

// A window with the test record analysed over 0.1 .. 3 s in steps of 0.1 s.
void LoadAndRun(RunWindow& w, std::vector<double> samples = RunTestQuake(kSamples, kTimeStepS)) {
    w.LoadRecord(QStringLiteral("quake.txt"), samples, kTimeStepS);
    w.SetParameters("0.1", "3", "0.1", "0.05");
    w.ClickRun();
    QVERIFY(w.capture.errors.isEmpty());
}

QPointF PlotPoint(const ChartWidget* chart, double fx, double fy) {
    const QRect area = chart->axisRect()->rect();
    // Whole pixels, as mouse events carry them.
    return QPointF(
        QPoint(qRound(area.left() + fx * area.width()), qRound(area.top() + fy * area.height())));
}

void Wheel(ChartWidget* chart, QPointF pos, int notches) {
    QWheelEvent event(pos, chart->mapToGlobal(pos), QPoint(), QPoint(0, 120 * notches),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(chart, &event);
    QCoreApplication::processEvents();
}

void Drag(ChartWidget* chart, QPointF from, QPointF to, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mousePress(chart, Qt::LeftButton, modifiers, from.toPoint());
    QTest::mouseMove(chart, ((from + to) / 2).toPoint());
    QTest::mouseMove(chart, to.toPoint());
    QTest::mouseRelease(chart, Qt::LeftButton, modifiers, to.toPoint());
    QCoreApplication::processEvents();
}

// The coordinates under pixel pos of chart.
QPointF CoordAt(const ChartWidget* chart, QPointF pos) {
    return QPointF(chart->xAxis->pixelToCoord(pos.x()), chart->yAxis->pixelToCoord(pos.y()));
}

// a and b agree to a share relTol of the axes' ranges of chart.
bool Near(const ChartWidget* chart, QPointF a, QPointF b, double relTol = 1e-9) {
    return std::abs(a.x() - b.x()) <= relTol * chart->xAxis->range().size() &&
           std::abs(a.y() - b.y()) <= relTol * chart->yAxis->range().size();
}

}  // namespace

class ChartZoomTest : public QObject {
    Q_OBJECT

  private slots:
    void wheelZoomsAboutThePointerAndPlaybackKeepsIt() {
        RunWindow w;
        LoadAndRun(w);
        for (ChartWidget* chart :
             {static_cast<ChartWidget*>(w.form->cht1), static_cast<ChartWidget*>(w.form->cht2)}) {
            const QCPRange autoX = chart->xAxis->range();
            const QCPRange autoY = chart->yAxis->range();
            const QPointF pointer = PlotPoint(chart, 0.3, 0.6);
            const QPointF under = CoordAt(chart, pointer);
            Wheel(chart, pointer, 3);
            QVERIFY(chart->Zoomed());
            QVERIFY(chart->xAxis->range().size() < 0.7 * autoX.size());
            QVERIFY(chart->yAxis->range().size() < 0.7 * autoY.size());
            QVERIFY(Near(chart, CoordAt(chart, pointer), under));
            // Playback moves the instant: the red series changes, the ranges stay.
            const QCPRange zoomedX = chart->xAxis->range();
            const QCPRange zoomedY = chart->yAxis->range();
            for (int value : {w.form->trckbr1->maximum(), 5, 120}) {
                w.form->trckbr1->setValue(value);
                QCoreApplication::processEvents();
                QCOMPARE(chart->xAxis->range(), zoomedX);
                QCOMPARE(chart->yAxis->range(), zoomedY);
            }
            // Over the bottom axis the wheel zooms that axis alone.
            const QRect area = chart->axisRect()->rect();
            Wheel(chart, QPointF(area.center().x(), area.bottom() + 6), -1);
            QVERIFY(chart->xAxis->range().size() > zoomedX.size());
            QCOMPARE(chart->yAxis->range(), zoomedY);
            // A double click returns to the automatic range.
            QTest::mouseDClick(chart, Qt::LeftButton, {}, pointer.toPoint());
            QVERIFY(!chart->Zoomed());
            QCOMPARE(chart->yAxis->range().lower, chart == w.form->cht2 ? 0.0 : autoY.lower);
            QCOMPARE(chart->xAxis->range(), autoX);
        }
    }

    void dragPansShiftDragBoxesAClickDoesNeither() {
        RunWindow w;
        LoadAndRun(w);
        ChartWidget* chart = w.form->cht2;
        QSignalSpy clicks(chart, &ChartWidget::plotClicked);
        const QCPRange autoX = chart->xAxis->range();
        const QCPRange autoY = chart->yAxis->range();
        // A click that wobbles within the slop neither pans nor fails to click.
        const QPointF at = PlotPoint(chart, 0.5, 0.5);
        QTest::mousePress(chart, Qt::LeftButton, {}, at.toPoint());
        QTest::mouseMove(chart, (at + QPointF(2, 1)).toPoint());
        QTest::mouseRelease(chart, Qt::LeftButton, {}, (at + QPointF(2, 1)).toPoint());
        QTRY_COMPARE(clicks.count(), 1);  // once no second click can follow
        QCOMPARE(chart->xAxis->range(), autoX);
        QCOMPARE(chart->yAxis->range(), autoY);
        QVERIFY(!chart->Zoomed());
        // A drag moves the data with the pointer and is no click.
        const QPointF from = PlotPoint(chart, 0.4, 0.4);
        const QPointF to = from + QPointF(60, 30);
        const QPointF grabbed = CoordAt(chart, from);
        Drag(chart, from, to);
        QCOMPARE(clicks.count(), 1);
        QVERIFY(chart->Zoomed());
        QVERIFY(Near(chart, CoordAt(chart, to), grabbed));
        QVERIFY(chart->xAxis->range().lower < autoX.lower);
        QVERIFY(chart->yAxis->range().lower > autoY.lower);  // dragged down: higher values
        QCOMPARE(chart->xAxis->range().size(), autoX.size());
        // A drag that returns to its start is still a drag, not a click.
        QTest::mousePress(chart, Qt::LeftButton, {}, at.toPoint());
        QTest::mouseMove(chart, (at + QPointF(20, 0)).toPoint());
        QTest::mouseMove(chart, at.toPoint());
        QTest::mouseRelease(chart, Qt::LeftButton, {}, at.toPoint());
        QCOMPARE(clicks.count(), 1);
        // Shift + drag zooms to the box, drawn either way round.
        const QPointF a = PlotPoint(chart, 0.2, 0.3);
        const QPointF b = PlotPoint(chart, 0.6, 0.7);
        const QPointF lowLeft = CoordAt(chart, QPointF(a.x(), b.y()));
        const QPointF highRight = CoordAt(chart, QPointF(b.x(), a.y()));
        Drag(chart, b, a, Qt::ShiftModifier);
        QVERIFY(Near(chart, QPointF(chart->xAxis->range().lower, chart->yAxis->range().lower),
                     lowLeft));
        QVERIFY(Near(chart, QPointF(chart->xAxis->range().upper, chart->yAxis->range().upper),
                     highRight));
    }

    void clearingPathsReturnToTheAutomaticRange() {
        RunWindow w;
        LoadAndRun(w);
        RecordChart* chart = w.form->cht1;
        const QCPRange autoX = chart->xAxis->range();
        Wheel(chart, PlotPoint(chart, 0.5, 0.5), 2);
        QVERIFY(chart->Zoomed());
        w.ClickRun();  // a new run
        QVERIFY(!chart->Zoomed());
        QCOMPARE(chart->xAxis->range(), autoX);
        Wheel(w.form->cht2, PlotPoint(w.form->cht2, 0.5, 0.5), 2);
        Wheel(chart, PlotPoint(chart, 0.5, 0.5), 2);
        ClickRecord(w.form.get(), 0);  // a record click
        QVERIFY(!chart->Zoomed());
        QVERIFY(!w.form->cht2->Zoomed());
        QCOMPARE(chart->xAxis->range(), autoX);
        Wheel(chart, PlotPoint(chart, 0.5, 0.5), 2);
        InjectChosenFiles(w.form.get(), {});
        ClickImport(w.form.get());  // an import
        QVERIFY(!chart->Zoomed());
    }

    void logarithmicAxesLeaveZerosOut() {
        RunWindow w;
        // Ten quiet samples first: the spectra of the first instants are all zero.
        std::vector<double> samples(10, 0.0);
        const std::vector<double> quake = RunTestQuake(kSamples, kTimeStepS);
        samples.insert(samples.end(), quake.begin(), quake.end());
        LoadAndRun(w, samples);
        ResponseChart* chart = w.form->cht2;
        TriggerMenuEntry(chart, QStringLiteral("Logarithmic value axis"));
        TriggerMenuEntry(chart, QStringLiteral("Logarithmic period axis"));
        QCOMPARE(chart->yAxis->scaleType(), QCPAxis::stLogarithmic);
        QCOMPARE(chart->xAxis->scaleType(), QCPAxis::stLogarithmic);
        QCOMPARE(chart->xAxis->range(), QCPRange(0.1, 10.0));
        // Instant 0: the red spectrum is all zero; the range comes from the whole record's
        // positive values.
        QCOMPARE(w.form->cbb2->currentIndex(), 0);
        const HistoryRow whole = w.form->results.sdHistory.back();
        QVERIFY(std::all_of(w.form->results.sdHistory[0].begin(),
                            w.form->results.sdHistory[0].end(), [](double v) { return v == 0; }));
        const auto [low, high] = std::minmax_element(whole.begin(), whole.end());
        const NiceRange expected = LogRangeFor(*low, *high);
        QCOMPARE(chart->yAxis->range(), QCPRange(expected.min, expected.max));
        // With the whole record hidden nothing is positive: the fallback decade.
        ClickLegendEntry(chart, w.form->lnsrsSeries3);
        QCOMPARE(chart->yAxis->range(), QCPRange(1.0, 10.0));
        // Later instants bring positive values back into the range.
        w.form->trckbr1->setValue(w.form->trckbr1->maximum());
        QCoreApplication::processEvents();
        QCOMPARE(chart->yAxis->range(), QCPRange(expected.min, expected.max));
        // The toggles name the abscissa chosen, and switch back to linear from 0.
        ChooseItem(w.form->cbb5, 1);
        TriggerMenuEntry(chart, QStringLiteral("Logarithmic frequency axis"));
        TriggerMenuEntry(chart, QStringLiteral("Logarithmic value axis"));
        QCOMPARE(chart->xAxis->scaleType(), QCPAxis::stLinear);
        QCOMPARE(chart->yAxis->range().lower, 0.0);
        QVERIFY(w.capture.errors.isEmpty());
    }

    void hugeValuesGetCompactLabels() {
        RunWindow w;
        std::vector<double> samples = RunTestQuake(kSamples, kTimeStepS);
        for (double& v : samples) {
            v *= 1e200;  // QCustomPlot shows ranges up to 1e250
        }
        w.LoadRecord(QStringLiteral("huge.txt"), samples, kTimeStepS);
        RecordChart* chart = w.form->cht1;
        QVERIFY(w.capture.errors.isEmpty());
        chart->replot();
        QVERIFY(chart->yAxis->tickVectorLabels().size() >= 3);
        for (const QString& label : chart->yAxis->tickVectorLabels()) {
            QVERIFY2(label.size() <= 9, qPrintable(label));
        }
        // Beyond what the chart library can show (1e250) the axis takes the widest range it
        // can, with short labels still.
        for (double& v : samples) {
            v *= 1e106;
        }
        w.LoadRecord(QStringLiteral("huger.txt"), samples, kTimeStepS);
        chart->replot();
        QVERIFY(chart->yAxis->range().size() > 1e249);
        QVERIFY(chart->yAxis->tickVectorLabels().size() >= 3);
        for (const QString& label : chart->yAxis->tickVectorLabels()) {
            QVERIFY2(label.size() <= 9, qPrintable(label));
        }
    }
};

ORVANTA_UI_TEST_MAIN(ChartZoomTest)
#include "chart_zoom_test.moc"
