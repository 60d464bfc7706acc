// The record plot: the highlighted record at i * timeStep, its "Time=" titles, the red
// trace up to the selected instant, degenerate time steps and the axes' ranges.
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLineSeries>
#include <QListWidget>
#include <QValueAxis>
#include <cmath>
#include <memory>

#include "records/NumberText.h"
#include "support/UiTestSupport.h"
#include "ui/ChartHelpers.h"
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
    for (int j = 0; j + 1 < record.Count(); ++j) {
        form->cbb2->addItem(QString::fromStdString(
            FormatFixed4((j + 1) * record.GetTimeStep(), form->decimalSeparator())));
    }
}

void VerifyPointsAtSampleTimes(const QLineSeries* series, const TimeHistory& record, int count) {
    QCOMPARE(series->count(), count);
    for (int i = 0; i < count; ++i) {
        const QPointF p = series->at(i);
        QCOMPARE(p.x(), i * record.GetTimeStep());
        QCOMPARE(p.y(), record.GetAcc()[static_cast<std::size_t>(i)]);
    }
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
        VerifyPointsAtSampleTimes(form->lnsrsSeries1, record, 5);
        const QString expected = TimeTitle(form, title.toLatin1().constData());
        QCOMPARE(form->lnsrsSeries1->name(), expected);
        QCOMPARE(form->lnsrsSeries3->name(), expected);
        QCOMPARE(form->lnsrsSeries2->count(), 0);  // no run yet
        QCOMPARE(form->lnsrsSeries2->name(), QStringLiteral("Time="));
    }

    void keyboardMoveDrawsTheNextRecord() {
        Import({WriteFile(folder, "one.txt", RecordText({1, 2}, 0.01)),
                WriteFile(folder, "two.txt", RecordText({3, 4, 5}, 0.01))});
        ClickRecord(form, 0);
        QCOMPARE(form->lnsrsSeries1->count(), 2);
        QTest::keyClick(form->lst1, Qt::Key_Down);
        QCOMPARE(form->lst1->currentRow(), 1);
        QCOMPARE(form->lnsrsSeries1->count(), 3);
        QCOMPARE(form->lnsrsSeries1->at(2).y(), 5.0);
    }

    void clickOnTheHighlightedRecordRedraws() {
        Import({WriteFile(folder, "one.txt", RecordText({1, 2}, 0.01))});
        ClickRecord(form, 0);
        form->lnsrsSeries1->clear();
        ClickRecord(form, 0);
        QCOMPARE(form->lnsrsSeries1->count(), 2);
    }

    void selectingAnotherRecordDiscardsTheRunsState() {
        Import({WriteFile(folder, "one.txt", RecordText({1, 2, 3}, 0.01)),
                WriteFile(folder, "two.txt", RecordText({3, 4}, 0.01))});
        ClickRecord(form, 0);
        FillTimeListAsARun(form, *form->records[0]);
        form->cbb2->setCurrentIndex(0);
        form->PlotRecordToInstant();
        form->lnsrsSeries4->append(0.1, 1.0);
        QCOMPARE(form->lnsrsSeries2->count(), 2);
        ClickRecord(form, 1);
        QCOMPARE(form->cbb2->count(), 0);
        QCOMPARE(form->lnsrsSeries2->count(), 0);
        QCOMPARE(form->lnsrsSeries4->count(), 0);
        QCOMPARE(form->lnsrsSeries1->count(), 2);
    }

    void nothingHighlightedLeavesSeriesEmptyAndTitlesAlone() {
        Import({WriteFile(folder, "one.txt", RecordText({1, 2}, 0.01))});
        ClickRecord(form, 0);
        const QString title = form->lnsrsSeries1->name();
        form->lst1->clearSelection();
        form->PlotRecord();
        QCOMPARE(form->lnsrsSeries1->count(), 0);
        QCOMPARE(form->lnsrsSeries1->name(), title);
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
            VerifyPointsAtSampleTimes(form->lnsrsSeries2, record, j + 2);
            QCOMPARE(form->lnsrsSeries2->name(), QStringLiteral("Time=") + form->cbb2->itemText(j));
        }
        QCOMPARE(form->lnsrsSeries2->name(), form->lnsrsSeries1->name());  // last instant
    }

    void redTraceNeedsAnInstantAndAnAnalysedRecord() {
        Import({WriteFile(folder, "r.txt", RecordText({0.0, 0.1, 0.3}, 0.02))});
        ClickRecord(form, 0);
        form->PlotRecordToInstant();  // empty time list
        QCOMPARE(form->lnsrsSeries2->count(), 0);
        form->cbb2->addItem(QStringLiteral("0.0200"));
        form->cbb2->setCurrentIndex(0);
        form->results.currentRecord = nullptr;  // no run since start
        form->PlotRecordToInstant();
        QCOMPARE(form->lnsrsSeries2->count(), 0);
        QCOMPARE(form->lnsrsSeries2->name(), QStringLiteral("Time="));
    }

    void axesCoverTheRecordWithNiceNumbers() {
        Import({WriteFile(folder, "r.txt", RecordText({0.0, 0.31, -0.47, 0.2}, 0.5))});
        ClickRecord(form, 0);
        QValueAxis* x = BottomAxis(form->cht1->chart());
        QValueAxis* y = LeftAxis(form->cht1->chart());
        QVERIFY(x->min() <= 0.0 && x->max() >= 1.5);
        QVERIFY(y->min() <= -0.47 && y->max() >= 0.31);
        QVERIFY(y->max() - y->min() < 2 * (0.31 + 0.47));  // not absurdly loose
        const double stepG = (y->max() - y->min()) / (y->tickCount() - 1);
        const double mantissa = stepG / std::pow(10.0, std::floor(std::log10(stepG)));
        QVERIFY2(NearlyEqual(mantissa, 1) || NearlyEqual(mantissa, 2) || NearlyEqual(mantissa, 5),
                 qPrintable(QString::number(stepG)));
        const double stepsToMin = y->min() / stepG;
        QVERIFY(std::abs(stepsToMin - std::round(stepsToMin)) < 1e-6);
    }

    void spectrumLeftAxisStartsAtZero() {
        SetSeriesPoints(form->lnsrsSeries3, {{0.1, 2.0}, {1.0, 7.3}, {3.0, 0.5}});
        QValueAxis* y = LeftAxis(form->cht2->chart());
        QCOMPARE(y->min(), 0.0);
        QVERIFY(y->max() >= 7.3 && y->max() <= 10.0);
        QCOMPARE(form->lnsrsSeries3->at(1), QPointF(1.0, 7.3));  // order kept
    }
};

ORVANTA_UI_TEST_MAIN(RecordPlotTest)
#include "record_plot_test.moc"
