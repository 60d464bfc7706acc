// The record plot: the highlighted record at i * timeStep, its "Time=" titles, the red
// trace up to the selected instant, degenerate time steps and the axes' ranges.
#include <QComboBox>
#include <QImage>
#include <QListWidget>
#include <QRandomGenerator>
#include <cmath>
#include <memory>

#include "support/ChartProbe.h"
#include "support/UiTestSupport.h"
#include "ui/InstantListModel.h"
#include "ui/RecordChart.h"
#include "ui/ResponseChart.h"
#include "ui/Unit1.h"

namespace {

// "Time=" and the time in the "0.0000" pattern with the window's decimal separator.
QString TimeTitle(const TForm1* form, const char* dotted) {
    QString time = QString::fromLatin1(dotted);
    time.replace(QLatin1Char('.'), QLatin1Char(form->decimalSeparator()));
    return QStringLiteral("Time=") + time;
}

// Fills the time list as a run does: entry j is the instant (j + 1) * timeStep.
void FillTimeListAsARun(TForm1* form, const TimeHistory& record) {
    form->results.currentRecord = const_cast<TimeHistory*>(&record);
    InstantListOf(form->cbb2)
        ->SetInstants(record.Count() - 1, record.GetTimeStep(), form->decimalSeparator());
}

// The series holds samples 0 .. count - 1 at i * timeStep, kept by ascending x as the
// record plot keeps them: in sample order, reversed for a negative time step.
void VerifyPointsAtSampleTimes(const TForm1* form, const char* name, const TimeHistory& record,
                               int count) {
    const QList<QPointF> points = Points(form, name);
    QCOMPARE(points.size(), count);
    for (int k = 0; k < count; ++k) {
        const int i = record.GetTimeStep() < 0 ? count - 1 - k : k;
        QCOMPARE(points[k].x(), i * record.GetTimeStep());
        QCOMPARE(points[k].y(), record.GetAcc()[static_cast<std::size_t>(i)]);
    }
}

// A pixel of the red trace (antialiased edges aside).
bool IsRed(const QColor& colour) {
    return colour.red() > 200 && colour.green() < 80 && colour.blue() < 80;
}

// The range and tick step of a chart axis.
struct AxisState {
    double min, max, step;
};
AxisState StateOf(const QCPAxis* axis) {
    const auto* ticker = dynamic_cast<const QCPAxisTickerFixed*>(axis->ticker().data());
    return {axis->range().lower, axis->range().upper, ticker != nullptr ? ticker->tickStep() : 0};
}

}  // namespace

class RecordPlotTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ModalCapture> capture;
    QTemporaryDir folder;
    TForm1* form = nullptr;

    void Import(const QStringList& paths) {
        InjectChosenFiles(form, paths);
        ClickImport(form);
        QVERIFY(capture->errors.isEmpty());
    }

  private slots:
    void initTestCase() {
        capture = std::make_unique<ModalCapture>();
        QVERIFY(folder.isValid());
    }
    void init() { form = MakeShownWindow(); }
    void cleanup() { delete form; }

    void clickDrawsTheRecordAtSampleTimes_data() {
        QTest::addColumn<double>("timeStepS");
        QTest::addColumn<double>("startTimeS");
        QTest::addColumn<QString>("title");
        QTest::newRow("0.01 s") << 0.01 << 0.0 << "0.0400";
        QTest::newRow("file starts at 5 s") << 0.02 << 5.0 << "0.0800";
        QTest::newRow("zero step") << 0.0 << 1.0 << "0.0000";
        QTest::newRow("negative step") << -0.01 << 0.0 << "-0.0400";
    }
    void clickDrawsTheRecordAtSampleTimes() {
        QFETCH(double, timeStepS);
        QFETCH(double, startTimeS);
        QFETCH(QString, title);
        Import({WriteFile(folder, "r.txt",
                          RecordText({0.0, 0.25, -0.5, 0.125, 0.0625}, timeStepS, startTimeS))});
        ClickRecord(form, 0);
        const TimeHistory& record = *form->records[0];
        QVERIFY(NearlyEqual(record.GetTimeStep(), timeStepS, 1e-9) || timeStepS == 0.0);
        VerifyPointsAtSampleTimes(form, "lnsrsSeries1", record, 5);
        const QString expected = TimeTitle(form, title.toLatin1().constData());
        QCOMPARE(Title(form, "lnsrsSeries1"), expected);
        QCOMPARE(Title(form, "lnsrsSeries3"), expected);
        QCOMPARE(PointCount(form, "lnsrsSeries2"), 0);  // no run yet
        QCOMPARE(Title(form, "lnsrsSeries2"), QStringLiteral("Time="));
    }

    void keyboardMoveDrawsTheNextRecord() {
        Import({WriteFile(folder, "one.txt", RecordText({1, 2}, 0.01)),
                WriteFile(folder, "two.txt", RecordText({3, 4, 5}, 0.01))});
        ClickRecord(form, 0);
        QCOMPARE(PointCount(form, "lnsrsSeries1"), 2);
        QTest::keyClick(form->lst1, Qt::Key_Down);
        QCOMPARE(form->lst1->currentRow(), 1);
        QCOMPARE(PointCount(form, "lnsrsSeries1"), 3);
        QCOMPARE(Points(form, "lnsrsSeries1").at(2).y(), 5.0);
    }

    void clickOnTheHighlightedRecordRedraws() {
        Import({WriteFile(folder, "one.txt", RecordText({1, 2}, 0.01))});
        ClickRecord(form, 0);
        ClearSeries(FindSeries(form, "lnsrsSeries1"));
        ClickRecord(form, 0);
        QCOMPARE(PointCount(form, "lnsrsSeries1"), 2);
    }

    void selectingAnotherRecordDiscardsTheRunsState() {
        Import({WriteFile(folder, "one.txt", RecordText({1, 2, 3}, 0.01)),
                WriteFile(folder, "two.txt", RecordText({3, 4}, 0.01))});
        ClickRecord(form, 0);
        FillTimeListAsARun(form, *form->records[0]);
        form->cbb2->setCurrentIndex(0);
        form->PlotRecordToInstant();
        AddPoint(form, "lnsrsSeries4", 0.1, 1.0);
        QCOMPARE(PointCount(form, "lnsrsSeries2"), 2);
        ClickRecord(form, 1);
        QCOMPARE(form->cbb2->count(), 0);
        QCOMPARE(PointCount(form, "lnsrsSeries2"), 0);
        QCOMPARE(PointCount(form, "lnsrsSeries4"), 0);
        QCOMPARE(PointCount(form, "lnsrsSeries1"), 2);
    }

    void nothingHighlightedLeavesSeriesEmptyAndTitlesAlone() {
        Import({WriteFile(folder, "one.txt", RecordText({1, 2}, 0.01))});
        ClickRecord(form, 0);
        const QString title = Title(form, "lnsrsSeries1");
        form->lst1->clearSelection();
        form->PlotRecord();
        QCOMPARE(PointCount(form, "lnsrsSeries1"), 0);
        QCOMPARE(Title(form, "lnsrsSeries1"), title);
    }

    void redTraceEndsAtTheSelectedInstant() {
        Import({WriteFile(folder, "r.txt", RecordText({0.0, 0.1, 0.3, -0.2, 0.05}, 0.02))});
        ClickRecord(form, 0);
        const TimeHistory& record = *form->records[0];
        FillTimeListAsARun(form, record);
        QCOMPARE(form->cbb2->count(), 4);
        for (int j = 0; j < form->cbb2->count(); ++j) {
            form->cbb2->setCurrentIndex(j);
            form->PlotRecordToInstant();
            VerifyPointsAtSampleTimes(form, "lnsrsSeries2", record, j + 2);
            QCOMPARE(Title(form, "lnsrsSeries2"),
                     QStringLiteral("Time=") + form->cbb2->itemText(j));
        }
        QCOMPARE(Title(form, "lnsrsSeries2"), Title(form, "lnsrsSeries1"));  // last instant
    }

    // The trace changes only by the samples between two instants: whatever the order in which
    // the instants come (playback, its wrap, jumps of the track bar), it must hold exactly
    // samples 0 .. j + 1, as a trace drawn from scratch would.
    void redTraceFollowsTheInstantBackAndForth_data() {
        QTest::addColumn<double>("timeStepS");
        QTest::newRow("ascending times") << 0.01;
        QTest::newRow("negative step: redrawn whole") << -0.01;
        QTest::newRow("zero step: redrawn whole") << 0.0;
    }
    void redTraceFollowsTheInstantBackAndForth() {
        QFETCH(double, timeStepS);
        std::vector<double> accG;
        for (int i = 0; i < 300; ++i)
            accG.push_back(std::sin(0.37 * i) * (i % 7 == 0 ? 2.0 : 0.5));
        Import({WriteFile(folder, "r.txt", RecordText(accG, timeStepS))});
        ClickRecord(form, 0);
        const TimeHistory& record = *form->records[0];
        FillTimeListAsARun(form, record);
        QRandomGenerator random(13);
        QList<int> instants{0, 1, 2, 298, 297, 0, 150, 151, 298, 0};
        for (int n = 0; n < 40; ++n)
            instants << random.bounded(299);
        for (int j : instants) {
            form->cbb2->setCurrentIndex(j);
            form->PlotRecordToInstant();
            VerifyPointsAtSampleTimes(form, "lnsrsSeries2", record, j + 2);
        }
        // Cleared from outside (a run or a selection does that), the trace starts afresh.
        ClearSeries(FindSeries(form, "lnsrsSeries2"));
        form->cbb2->setCurrentIndex(5);
        form->PlotRecordToInstant();
        VerifyPointsAtSampleTimes(form, "lnsrsSeries2", record, 7);
    }

    // Playback draws only the segments a step adds onto the trace's layer; the chart must look
    // as the trace drawn whole does (a slow record: one segment per sample, no sampling).
    void traceDrawnStepByStepLooksAsDrawnWhole() {
        std::vector<double> accG;
        for (int i = 0; i < 200; ++i)
            accG.push_back(0.4 * std::sin(0.05 * i) + 0.1 * std::sin(0.31 * i));
        Import({WriteFile(folder, "r.txt", RecordText(accG, 0.05))});
        ClickRecord(form, 0);
        FillTimeListAsARun(form, *form->records[0]);
        for (int j = 0; j < 150; ++j) {
            form->cbb2->setCurrentIndex(j);
            form->PlotRecordToInstant();
        }
        const QImage stepped = form->cht1->grab().toImage();
        form->cht1->replot(QCustomPlot::rpImmediateRefresh);
        const QImage whole = form->cht1->grab().toImage();
        QCOMPARE(stepped.size(), whole.size());
        int differing = 0;
        for (int y = 0; y < whole.height(); ++y) {
            for (int x = 0; x < whole.width(); ++x) {
                const QColor a = stepped.pixelColor(x, y), b = whole.pixelColor(x, y);
                if (std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                        std::abs(a.blue() - b.blue()) >
                    60)
                    ++differing;
            }
        }
        QVERIFY2(differing < 20, qPrintable(QString::number(differing)));
        // And the red trace is there: red pixels where the analysed part of the record lies.
        int red = 0;
        for (int y = 0; y < whole.height(); ++y)
            for (int x = 0; x < whole.width(); ++x)
                red += IsRed(whole.pixelColor(x, y)) ? 1 : 0;
        QVERIFY(red > 100);
    }

    void redTraceNeedsAnInstantAndAnAnalysedRecord() {
        Import({WriteFile(folder, "r.txt", RecordText({0.0, 0.1, 0.3}, 0.02))});
        ClickRecord(form, 0);
        form->PlotRecordToInstant();  // empty time list
        QCOMPARE(PointCount(form, "lnsrsSeries2"), 0);
        InstantListOf(form->cbb2)->SetInstants(1, 0.02, form->decimalSeparator());
        form->cbb2->setCurrentIndex(0);
        form->results.currentRecord = nullptr;  // no run since start
        form->PlotRecordToInstant();
        QCOMPARE(PointCount(form, "lnsrsSeries2"), 0);
        QCOMPARE(Title(form, "lnsrsSeries2"), QStringLiteral("Time="));
    }

    void axesCoverTheRecordWithNiceNumbers() {
        Import({WriteFile(folder, "r.txt", RecordText({0.0, 0.31, -0.47, 0.2}, 0.5))});
        ClickRecord(form, 0);
        const AxisState x = StateOf(form->cht1->xAxis);
        const AxisState y = StateOf(form->cht1->yAxis);
        QVERIFY(x.min <= 0.0 && x.max >= 1.5);
        QVERIFY(y.min <= -0.47 && y.max >= 0.31);
        QVERIFY(y.max - y.min < 2 * (0.31 + 0.47));  // not absurdly loose
        const double stepG = y.step;
        const double intervals = (y.max - y.min) / stepG;  // ticks at both ends
        QVERIFY(std::abs(intervals - std::round(intervals)) < 1e-6);
        const double mantissa = stepG / std::pow(10.0, std::floor(std::log10(stepG)));
        QVERIFY2(NearlyEqual(mantissa, 1) || NearlyEqual(mantissa, 2) || NearlyEqual(mantissa, 5),
                 qPrintable(QString::number(stepG)));
        const double stepsToMin = y.min / stepG;
        QVERIFY(std::abs(stepsToMin - std::round(stepsToMin)) < 1e-6);
        // Labels show as many decimals as the step needs: 0.2 g steps read "-0.6", "0.4".
        QCOMPARE(form->cht1->yAxis->numberPrecision(), DecimalsFor(stepG));
    }

    void spectrumLeftAxisStartsAtZero() {
        const std::vector<double> x = {0.1, 1.0, 3.0}, y = {2.0, 7.3, 0.5};
        form->cht2->ShowSpectrum(form->cht2->WholeRecord(), x, y);
        const AxisState left = StateOf(form->cht2->yAxis);
        QCOMPARE(left.min, 0.0);
        QVERIFY(left.max >= 7.3 && left.max <= 10.0);
        QCOMPARE(Points(form, "lnsrsSeries3").at(1), QPointF(1.0, 7.3));  // order kept
    }

    // Hiding a series through its legend rescales the axes to what stays shown; the record
    // axis follows the red trace alone while the whole record is hidden.
    void axesFollowTheShownSeries() {
        Import({WriteFile(folder, "r.txt", RecordText({0.0, 0.1, -0.05, 0.9, -0.8}, 1.0))});
        ClickRecord(form, 0);
        FillTimeListAsARun(form, *form->records[0]);
        form->cbb2->setCurrentIndex(1);  // samples 0 .. 2: -0.05 .. 0.1 g over 0 .. 2 s
        form->PlotRecordToInstant();
        const AxisState both = StateOf(form->cht1->yAxis);
        QVERIFY(both.min <= -0.8 && both.max >= 0.9);
        ClickLegendEntry(form->cht1, FindSeries(form, "lnsrsSeries1"));
        QVERIFY(!IsShown(form, "lnsrsSeries1"));
        const AxisState traceOnly = StateOf(form->cht1->yAxis);
        QVERIFY(traceOnly.min <= -0.05 && traceOnly.max >= 0.1 && traceOnly.max < 0.9);
        QVERIFY(StateOf(form->cht1->xAxis).max < 4.0);
        // The axis then follows the trace as the instant moves.
        form->cbb2->setCurrentIndex(3);
        form->PlotRecordToInstant();
        QVERIFY(StateOf(form->cht1->yAxis).min <= -0.8);
        form->cbb2->setCurrentIndex(1);
        form->PlotRecordToInstant();
        QCOMPARE(StateOf(form->cht1->yAxis).max, traceOnly.max);
        ClickLegendEntry(form->cht1, FindSeries(form, "lnsrsSeries1"));
        QCOMPARE(StateOf(form->cht1->yAxis).min, both.min);
    }
};

ORVANTA_UI_TEST_MAIN(RecordPlotTest)
#include "record_plot_test.moc"
